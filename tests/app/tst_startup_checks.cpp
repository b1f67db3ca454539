// The start's checks of the data files, without the main window (whose
// load shows the problem they find and ends, as the start-up test checks):
// files without the tables or columns the program needs, files or a folder
// that cannot be written, and the developer folders the marker file selects.

#include "app/Session.h"
#include "app/StartupChecks.h"
#include "platform/Paths.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtTest>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// Makes a file or folder one this process cannot write: its write bits
// cleared and, for root (whom no mode bit stops), the immutable attribute
// set. Both are restored when it goes. ok() is false when the system would
// not make it unwritable.
class Unwritable {
public:
    explicit Unwritable(const QString& path) : path_(path), permissions_(QFile::permissions(path))
    {
        QFile::setPermissions(path, permissions_ & ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup |
                                                     QFile::WriteOther));
        if (::geteuid() == 0) immutable_ = setImmutable(true);
    }
    ~Unwritable()
    {
        if (immutable_) setImmutable(false);
        QFile::setPermissions(path_, permissions_);
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool ok() const { return !QFileInfo(path_).isWritable(); }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    QString path_;
    QFile::Permissions permissions_;
    bool immutable_ = false;
};

// Replaces a file by one of the given bytes (nothing: an empty file).
bool overwrite(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Runs the checks as the main window's load does, which shows the start-up
// error box for what they find. True when they refused the files.
bool refused(SessionFixture& f)
{
    f.session.locateDataFolder();
    const std::optional<StartupProblem> problem = OpenDataFiles(f.session);
    if (problem) ShowStartupProblem(f.session.messages(), *problem);
    return problem.has_value();
}

// The checks refused with one error box naming `named` and saying `says`
// (in its text, or the engine's words in its details), and both databases
// closed.
void verifyStartupRefused(SessionFixture& f, const QString& named, const QString& says)
{
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(named), qPrintable(box.text));
    QVERIFY2(box.text.contains(says) || box.detail.contains(says), qPrintable(box.text + box.detail));
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
}

// Every file of the data folder with its hash.
QMap<QString, QByteArray> folderState(const QString& folder)
{
    QMap<QString, QByteArray> out;
    for (const QString& name : filesIn(folder)) out.insert(name, FileHash(folder + name));
    return out;
}

}  // namespace

class TestStartupChecks : public QObject {
    Q_OBJECT
private slots:
    void workDatabaseWithoutBoundTablesStopsStartup_data();
    void workDatabaseWithoutBoundTablesStopsStartup();
    void fileWithoutTheProgramsTablesIsRefusedUnchanged_data();
    void fileWithoutTheProgramsTablesIsRefusedUnchanged();
    void unwritableFileOrFolderIsRefusedUnchanged_data();
    void unwritableFileOrFolderIsRefusedUnchanged();
    void markerFileSelectsDeveloperFolders();
};

// A work file that opens but lacks a table or a column the windows bind to:
// the start-up error box names the file and what is missing, and neither
// file is written.
void TestStartupChecks::workDatabaseWithoutBoundTablesStopsStartup_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("missing");
    QTest::newRow("no w明細") << "drop table w明細" << "w明細";
    QTest::newRow("w明細 without 小計") << "alter table w明細 drop column 小計" << "小計";
    QTest::newRow("w商品参照 without ふりがな") << "alter table w商品参照 drop column ふりがな" << "ふりがな";
    QTest::newRow("no w履歴リスト") << "drop table w履歴リスト" << "w履歴リスト";
    QTest::newRow("no w単位参照") << "drop table w単位参照" << "w単位参照";
    // A column in another place is named as such, not as missing.
    QTest::newRow("w明細 with 金額 moved to the end")
        << "alter table w明細 drop column 金額; alter table w明細 add column 金額 INTEGER"
        << "テーブル w明細 の列 金額 が 11 番目にあります (8 番目にあるはずの列です)";
    QTest::newRow("w単位参照 with sname second")
        << "drop table w単位参照; create table w単位参照 (code TEXT, sname TEXT)"
        << "テーブル w単位参照 の列 sname が 2 番目にあります (1 番目にあるはずの列です)";
    QTest::newRow("w明細 without 品名, the rest moved up") << "alter table w明細 drop column 品名"
                                                     << "テーブル w明細 に列 品名 がありません";
}

void TestStartupChecks::workDatabaseWithoutBoundTablesStopsStartup()
{
    QFETCH(QString, damage);
    QFETCH(QString, missing);
    SessionFixture f;
    f.folder.prepare(damage.split(QStringLiteral("; ")), f.folder.workDbPath());
    const QByteArray data = FileHash(f.folder.dataDbPath());
    const QByteArray work = FileHash(f.folder.workDbPath());
    const QStringList files = filesIn(f.folder.dataFolder());

    QVERIFY(refused(f));

    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QCOMPARE(box.icon, MessageBoxSpec::Icon::Critical);
    QVERIFY2(box.text.contains(QStringLiteral("VeltWork2K.mdb")), qPrintable(box.text));
    QVERIFY2(box.text.contains(missing), qPrintable(box.text));
    QVERIFY(!f.data().isOpen());
    QVERIFY(!f.work().isOpen());
    QCOMPARE(FileHash(f.folder.dataDbPath()), data);
    QCOMPARE(FileHash(f.folder.workDbPath()), work);
    QCOMPARE(filesIn(f.folder.dataFolder()), files);
}

// A file that does not hold the tables the program needs (emptied by a failed
// copy, another database, a file of another kind, one table short, one
// column short of any table), or that is damaged (random bytes, cut short) is
// refused with the start-up error box naming it and what is wrong, and
// neither file is changed: an empty file stays empty.
void TestStartupChecks::fileWithoutTheProgramsTablesIsRefusedUnchanged_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("damage");  // "empty", "other tables", "text", or a statement
    QTest::addColumn<QString>("says");
    const QString data = QStringLiteral("VeltData2K.mdb");
    const QString work = QStringLiteral("VeltWork2K.mdb");
    const QString notOurs = QStringLiteral("このプログラムのデータベースではありません");
    QTest::newRow("empty data file") << data << "empty" << notOurs;
    QTest::newRow("empty work file") << work << "empty" << notOurs;
    QTest::newRow("data file of other tables") << data << "other tables" << notOurs;
    QTest::newRow("work file of other tables") << work << "other tables" << notOurs;
    QTest::newRow("data file of text") << data << "text" << "not a database";
    QTest::newRow("data file without KivHint") << data << "drop table KivHint" << "テーブル KivHint がありません";
    QTest::newRow("data file without 見積書") << data << "drop table 見積書" << "テーブル 見積書 がありません";
    QTest::newRow("work file without 更新テーブル名") << work << "drop table 更新テーブル名"
                                                   << "テーブル 更新テーブル名 がありません";
    // Every column the program reads or writes, not only those of the grids.
    QTest::newRow("data file without 見積書ヘッダ.件名") << data << "alter table 見積書ヘッダ drop column 件名"
                                                  << "テーブル 見積書ヘッダ に列 件名 がありません";
    QTest::newRow("data file without 自社情報.最大見積書番号") << data << "alter table 自社情報 drop column 最大見積書番号"
                                                      << "テーブル 自社情報 に列 最大見積書番号 がありません";
    QTest::newRow("data file without 見積書.備考 (the conversion writes it)")
        << data << "alter table 見積書 drop column 備考" << "テーブル 見積書 に列 備考 がありません";
    QTest::newRow("work file without w顧客マスタ.敬称") << work << "alter table w顧客マスタ drop column 敬称"
                                                    << "テーブル w顧客マスタ に列 敬称 がありません";
    const QString damaged = QStringLiteral("ファイルが壊れている可能性があります");
    QTest::newRow("data file of random bytes") << data << "random" << damaged;
    QTest::newRow("work file of random bytes") << work << "random" << damaged;
    QTest::newRow("data file cut after a page") << data << "cut at 8192" << "ファイルが途中で切れています";
    QTest::newRow("data file cut inside a page") << data << "cut at 10000" << "ファイルが途中で切れています";
}

void TestStartupChecks::fileWithoutTheProgramsTablesIsRefusedUnchanged()
{
    QFETCH(QString, file);
    QFETCH(QString, damage);
    QFETCH(QString, says);
    SessionFixture f;
    const QString path = f.folder.dataFolder() + file;
    if (damage == QLatin1String("empty")) {
        QVERIFY(overwrite(path, {}));
    } else if (damage == QLatin1String("text")) {
        QVERIFY(overwrite(path, "Standard Jet DB\n"));
    } else if (damage == QLatin1String("random")) {
        QRandomGenerator bytes(31);
        QByteArray noise(16384, '\0');
        bytes.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        QVERIFY(overwrite(path, noise));
    } else if (damage.startsWith(QLatin1String("cut at "))) {
        QVERIFY(QFile::resize(path, damage.mid(7).toLongLong()));
    } else if (damage == QLatin1String("other tables")) {
        QVERIFY(overwrite(path, {}));
        f.folder.prepare({QStringLiteral("create table 得意先 (名前 text)")}, path);
    } else {
        f.folder.prepare({damage}, path);
    }
    const auto before = folderState(f.folder.dataFolder());

    QVERIFY(refused(f));

    verifyStartupRefused(f, path, says);
    QCOMPARE(folderState(f.folder.dataFolder()), before);
}

// A data file, a work file or a data folder (where SQLite keeps its journal)
// that cannot be written: the start-up error box names it before anything is
// opened, and nothing in the folder changes.
void TestStartupChecks::unwritableFileOrFolderIsRefusedUnchanged_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("work file") << "VeltWork2K.mdb";
    QTest::newRow("data file") << "VeltData2K.mdb";
    QTest::newRow("data folder") << "";
}

void TestStartupChecks::unwritableFileOrFolderIsRefusedUnchanged()
{
    QFETCH(QString, what);
    SessionFixture f;
    const QString path = f.folder.dataFolder() + what;
    const auto before = folderState(f.folder.dataFolder());
    {
        Unwritable readOnly(path);
        if (!readOnly.ok()) QSKIP("this system cannot make the file unwritable for this user");
        QVERIFY(refused(f));
    }
    verifyStartupRefused(f, path, QStringLiteral("書き込めません"));
    QCOMPARE(folderState(f.folder.dataFolder()), before);
}

void TestStartupChecks::markerFileSelectsDeveloperFolders()
{
    SessionFixture f{QStringList{}};  // nothing in the program's own data folder
    const QString marker = f.session.mapDrivePath(Session::DeveloperMarkerFile);
    const QString devData = Paths::withSlash(f.session.mapDrivePath(Session::DeveloperDataFolder));
    const QString devPostal = Paths::withSlash(f.session.mapDrivePath(Session::DeveloperPostalFolder));
    QVERIFY(marker.startsWith(f.folder.driveRoot()));
    QVERIFY(QDir().mkpath(devData));
    QVERIFY(QDir().mkpath(QFileInfo(marker).path()));
    { QFile m(marker); QVERIFY(m.open(QIODevice::WriteOnly)); }
    for (const QString& file : {QStringLiteral("VeltData2K.mdb"), QStringLiteral("VeltWork2K.mdb")})
        QVERIFY(TestFolder::copyShipped(file, devData + file));
    QVERIFY(f.open());
    QCOMPARE(f.session.DataFolder(), devData);
    QCOMPARE(f.session.DataDbPath(), devData + QStringLiteral("VeltData2K.mdb"));
    QCOMPARE(f.session.PostalDictionaryPath(), devPostal + QStringLiteral("yubin2000.mdb"));
    QVERIFY(f.work().isOpen());
}

QTEST_MAIN(TestStartupChecks)
#include "tst_startup_checks.moc"
