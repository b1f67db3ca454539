// Opening a link file: the choice by signature, the files that cannot be
// read and their messages, files never changed, and the limits of the Jet
// reader process (made to misbehave through VELT_JET_READER_FAULT).

#include "LinkFiles.h"
#include "platform/LinkFile.h"
#include "support/TestFolder.h"

#include <QTimer>
#include <QtTest>

Q_DECLARE_METATYPE(LinkFile::Format)
Q_DECLARE_METATYPE(LinkFile::Error)

class TestLinkFileOpen : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(folder_.make()); }

    void formatIsChosenBySignature_data();
    void formatIsChosenBySignature();
    void filesThatCannotBeReadGiveAMessage_data();
    void filesThatCannotBeReadGiveAMessage();
    void lockedFileGivesAMessage();
    void fileIsNeverChanged_data();
    void fileIsNeverChanged();
    void damagedJetFileIsNamedDamaged_data();
    void damagedJetFileIsNamedDamaged();
    void jetReaderLimitsEndTheRead_data();
    void jetReaderLimitsEndTheRead();
    void missingJetReaderIsReported();

private:
    LinkFolder folder_;
};

void TestLinkFileOpen::formatIsChosenBySignature_data()
{
    QTest::addColumn<QByteArray>("content");  // "<none>": no file; "<dir>": a folder
    QTest::addColumn<LinkFile::Format>("format");
    QTest::newRow("Jet 3") << (jetHeader(0) + QByteArray(2048 - 21, '\0')) << LinkFile::Format::Jet3;
    QTest::newRow("Jet 4") << (jetHeader(1) + QByteArray(4096 - 21, '\0')) << LinkFile::Format::Jet4;
    QTest::newRow("Jet signature at the wrong place")
        << (QByteArrayLiteral("Standard Jet DB\0") + QByteArray(100, '\0')) << LinkFile::Format::None;
    QTest::newRow("text file") << QByteArray("Standard Jet DB, really\n").repeated(50) << LinkFile::Format::None;
    QTest::newRow("empty file") << QByteArray() << LinkFile::Format::None;
    QTest::newRow("no file") << QByteArray("<none>") << LinkFile::Format::None;
    QTest::newRow("folder") << QByteArray("<dir>") << LinkFile::Format::None;
}

void TestLinkFileOpen::formatIsChosenBySignature()
{
    QFETCH(QByteArray, content);
    QFETCH(LinkFile::Format, format);
    const QString file = folder_.path(QStringLiteral("link.mdb"));
    QVERIFY(place(file, content));
    QCOMPARE(LinkFile::detect(file), format);

    const QString sqlite = folder_.path(QStringLiteral("sqlite.mdb"));
    QVERIFY(makeSqliteFile(sqlite, {QStringLiteral("create table t (a TEXT)")}));
    QCOMPARE(LinkFile::detect(sqlite), LinkFile::Format::SQLite);
}

void TestLinkFileOpen::filesThatCannotBeReadGiveAMessage_data()
{
    QTest::addColumn<QByteArray>("content");  // "<none>": no file; "<dir>": a folder
    QTest::addColumn<LinkFile::Error>("error");
    QTest::newRow("no file") << QByteArray("<none>") << LinkFile::Error::NotFound;
    QTest::newRow("folder") << QByteArray("<dir>") << LinkFile::Error::NotFound;
    QTest::newRow("empty file") << QByteArray() << LinkFile::Error::NotADatabase;
    QTest::newRow("text file") << QByteArray("名称,tel\n山田,03\n").repeated(100) << LinkFile::Error::NotADatabase;
    QTest::newRow("Jet 3 signature over zeros") << (jetHeader(0) + QByteArray(8192, '\0')) << LinkFile::Error::Unreadable;
    QTest::newRow("Jet 4 signature over zeros") << (jetHeader(1) + QByteArray(16384, '\0')) << LinkFile::Error::Unreadable;
    QTest::newRow("Jet signature only") << jetHeader(0) << LinkFile::Error::Unreadable;
    QByteArray noise;
    quint32 x = 12345;
    for (int i = 0; i < 20000; ++i) noise += char((x = x * 1103515245u + 12345u) >> 24);
    QTest::newRow("Jet signature over noise") << (jetHeader(0) + noise) << LinkFile::Error::Unreadable;
    QTest::newRow("SQLite signature over noise")
        << (QByteArrayLiteral("SQLite format 3\0") + noise) << LinkFile::Error::Unreadable;
}

void TestLinkFileOpen::filesThatCannotBeReadGiveAMessage()
{
    QFETCH(QByteArray, content);
    QFETCH(LinkFile::Error, error);
    const QString file = folder_.path(QStringLiteral("link.mdb"));
    QVERIFY(place(file, content));
    LinkFile link;
    QVERIFY(!link.open(file));
    QVERIFY(!link.isOpen());
    QCOMPARE(link.error(), error);
    QVERIFY(link.errorText().contains(QStringLiteral("link.mdb")));
    QVERIFY(!link.hasTable(QStringLiteral("顧客マスタ")));
    QVERIFY(!link.rows(QStringLiteral("顧客マスタ")).has_value());
    QCOMPARE(link.error(), error);  // still the reason the file could not be opened
    if (content == "<none>") QVERIFY2(!QFile::exists(file), "reading must not create the file");
}

void TestLinkFileOpen::lockedFileGivesAMessage()
{
    const QString file = folder_.path(QStringLiteral("link.mdb"));
    QVERIFY(makeSqliteFile(file, {QStringLiteral("create table 顧客マスタ (名称 TEXT)"),
                                  QStringLiteral("insert into 顧客マスタ values ('山田')")}));
    // Another program writes the file and holds its lock.
    QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
    writer.setDatabaseName(file);
    QVERIFY(writer.open());
    {
        QSqlQuery q(writer);
        QVERIFY(q.exec(QStringLiteral("begin exclusive")));
        QVERIFY(q.exec(QStringLiteral("insert into 顧客マスタ values ('鈴木')")));

        LinkFile link;
        QVERIFY(!link.open(file));
        QCOMPARE(link.error(), LinkFile::Error::Unreadable);
        QVERIFY(!link.errorText().isEmpty());
        QVERIFY(q.exec(QStringLiteral("rollback")));
    }
    writer.close();
    writer = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("writer"));
}

void TestLinkFileOpen::fileIsNeverChanged_data()
{
    QTest::addColumn<QString>("journal");
    QTest::newRow("rollback journal") << "delete";
    QTest::newRow("write-ahead log") << "wal";
}

void TestLinkFileOpen::fileIsNeverChanged()
{
    QFETCH(QString, journal);
    // A name with characters that a file URI must escape.
    const QString name = QStringLiteral("旧 データ#1%?.mdb");
    const QString file = folder_.path(name);
    QVERIFY(makeSqliteFile(file, {QStringLiteral("pragma journal_mode=%1").arg(journal),
                                  QStringLiteral("create table 見積書 (伝票番号 LONG, 金額 CURRENCY, 日付 DATETIME)"),
                                  QStringLiteral("insert into 見積書 values (1, 100, '2004-03-09 10:00:00')")}));
    const QStringList before = QDir(folder_.path({})).entryList(QDir::Files);
    QCOMPARE(before, QStringList{name});
    const QByteArray hash = FileHash(file);
    {
        LinkFile link;
        QVERIFY2(link.open(file), qPrintable(link.errorText()));
        QVERIFY(link.rows(QStringLiteral("見積書"), {QStringLiteral("日付")}).has_value());
        QVERIFY(link.columns(QStringLiteral("見積書")).has_value());
        // Nothing appears beside the file while it is open either.
        QCOMPARE(QDir(folder_.path({})).entryList(QDir::Files), before);
    }
    QCOMPARE(QDir(folder_.path({})).entryList(QDir::Files), before);
    QCOMPARE(FileHash(file), hash);
}

void TestLinkFileOpen::damagedJetFileIsNamedDamaged_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("detail");
    const auto pages = [](char version, int size, int count, int extra) {
        QByteArray f = jetHeader(version);
        return f + QByteArray(size * count + extra - f.size(), '\0');
    };
    QTest::newRow("Jet 3 cut inside a page") << pages(0, 2048, 3, 700) << "整数倍ではありません";
    QTest::newRow("Jet 4 cut inside a page") << pages(1, 4096, 2, 1) << "整数倍ではありません";
    QTest::newRow("Jet 3 header page only") << pages(0, 2048, 1, 0) << "テーブルの一覧";
    QTest::newRow("Jet 3 catalog page of zeros") << pages(0, 2048, 4, 0) << "テーブルの一覧";
    QTest::newRow("Jet 4 catalog page of zeros") << pages(1, 4096, 4, 0) << "テーブルの一覧";
}

void TestLinkFileOpen::damagedJetFileIsNamedDamaged()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, detail);
    const QString file = folder_.path(QStringLiteral("顧客 データ.mdb"));
    QVERIFY(place(file, content));
    LinkFile link;
    QVERIFY(!link.open(file));
    QCOMPARE(link.error(), LinkFile::Error::Unreadable);
    QVERIFY2(link.errorText().startsWith(QStringLiteral("「顧客 データ.mdb」は壊れている可能性があるため読み込めません")),
             qPrintable(link.errorText()));
    QVERIFY2(link.errorText().contains(detail), qPrintable(link.errorText()));
    QVERIFY(!link.rows(QStringLiteral("顧客マスタ")).has_value());
}

void TestLinkFileOpen::jetReaderLimitsEndTheRead_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<int>("silenceMs");
    QTest::addColumn<QString>("detail");
    QTest::newRow("no progress") << QByteArray("hang") << 1500 << "1.5 秒のあいだ読み込みが進みませんでした";
    // Under the default cap, asking for 16 GB of address space fails.
    QTest::newRow("memory above the cap") << QByteArray("allocate") << 20000 << "メモリの上限（512 MB）";
    QTest::newRow("crash") << QByteArray("crash") << 20000 << "異常終了しました";
    QTest::newRow("libmdb warns without end") << QByteArray("flood") << 20000 << "警告が止まらなくなりました";
    QTest::newRow("exit before answering") << QByteArray("exit") << 20000 << "終了コード 7";
}

void TestLinkFileOpen::jetReaderLimitsEndTheRead()
{
    QFETCH(QByteArray, fault);
    QFETCH(int, silenceMs);
    QFETCH(QString, detail);
#if defined(__SANITIZE_ADDRESS__)
    if (fault == "allocate") QSKIP("the sanitizer build's reader runs without an address-space cap");
#endif
    const QString file = folder_.path(QStringLiteral("link.mdb"));
    QVERIFY(place(file, jetHeader(0) + QByteArray(2048 * 8 - 21, '\0')));
    const QByteArray hash = FileHash(file);
    const ScopedEnv misbehave("VELT_JET_READER_FAULT", fault);

    // The program's events run while it waits.
    bool eventRan = false;
    QTimer::singleShot(50, [&] { eventRan = true; });
    LinkFile link;
    link.setReaderLimits({silenceMs, LinkFile::ReaderLimits().memoryBytes});
    QVERIFY(!link.open(file));
    QCOMPARE(link.error(), LinkFile::Error::Unreadable);
    QVERIFY2(link.errorText().startsWith(QStringLiteral("「link.mdb」は壊れている可能性があるため読み込めません")),
             qPrintable(link.errorText()));
    QVERIFY2(link.errorText().contains(detail), qPrintable(link.errorText()));
    if (fault == "hang") QVERIFY(eventRan);
    QCOMPARE(FileHash(file), hash);
}

void TestLinkFileOpen::missingJetReaderIsReported()
{
    const QString file = folder_.path(QStringLiteral("link.mdb"));
    QVERIFY(place(file, jetHeader(1) + QByteArray(4096 * 4 - 21, '\0')));
    const ScopedEnv elsewhere("VELT_JET_READER", QFile::encodeName(folder_.path(QStringLiteral("no-such-reader"))));
    LinkFile link;
    QVERIFY(!link.open(file));
    QCOMPARE(link.error(), LinkFile::Error::Unreadable);
    QVERIFY2(link.errorText().contains(QStringLiteral("「no-such-reader」を起動できません")), qPrintable(link.errorText()));
    QVERIFY(link.errorText().contains(QStringLiteral("link.mdb")));
}

QTEST_MAIN(TestLinkFileOpen)
#include "tst_link_file_open.moc"
