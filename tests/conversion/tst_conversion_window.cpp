// The data conversion window opened from the main window: its texts, the
// run's progress and message, the older file left as it was, and the files
// that cannot be converted.

#include "workspace/settings_tab/SettingsTab.h"
#include "conversion/FrmConversion.h"
#include "platform/Controls.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/OldDataFile.h"
#include "support/QuotationLines.h"
#include "workspace/DetailLines.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kDone = QStringLiteral("コンバートが終了しました");
const QString kCustomers = QStringLiteral("顧客情報を変換しています････");
const QStringList kProgress{QStringLiteral("自社情報を変換しています････"), kCustomers,
                            QStringLiteral("商品情報を変換しています････"), QStringLiteral("コード表を変換しています････"),
                            QStringLiteral("見積書をコンバートしています････"),
                            QStringLiteral("見積書をコンバートしています････")};
const QStringList kTables{QStringLiteral("自社情報"),     QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"),
                          QStringLiteral("コードマスタ"), QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")};

// The older file and whatever lies beside it under its name (a journal, say).
QStringList oldFiles(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("VeltData.mdb*")}, QDir::Files | QDir::Dirs | QDir::Hidden, QDir::Name);
}

QByteArray jetSignature()
{
    QByteArray h(QByteArray::fromRawData("\x00\x01\x00\x00", 4));
    h += QByteArrayLiteral("Standard Jet DB\0");
    h += char(0);
    return h;
}

}  // namespace

class TestConversionWindow : public QObject {
    Q_OBJECT
private slots:
    void opensFromTheMainWindow();
    void noOlderFile();
    void completeRun();
    void olderFileNameInAnyCase_data();
    void olderFileNameInAnyCase();
    void emptyOlderTables();
    void incompleteRunIsSummarised();
    void failedTableKeepsEngineWordsInDetails();
    void conflictingNumbersStayVisible();
    void unreadableFileWritesNothing_data();
    void unreadableFileWritesNothing();
    void newQuotationOnScreenMovesOffAConvertedNumber_data();
    void newQuotationOnScreenMovesOffAConvertedNumber();
    void loadedQuotationKeepsItsNumber();

private:
    // Opens the main window and the conversion window from its 変換 button.
    static FrmConversion* openWindow(MainWindowFixture& f)
    {
        if (!f.open()) return nullptr;
        control<QPushButton>(f.settings(), "cmdデータ変換")->click();
        return qobject_cast<FrmConversion*>(f.session.windows().find(QStringLiteral("Frmデータ変換")));
    }
    static QString oldPath(MainWindowFixture& f) { return f.folder.dataFolder() + QStringLiteral("VeltData.mdb"); }
};

void TestConversionWindow::opensFromTheMainWindow()
{
    MainWindowFixture f;
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    auto* cmd閉じる = control<QPushButton>(*w, "cmd閉じる");
    QCOMPARE(w->objectName(), QStringLiteral("Frmデータ変換"));
    QCOMPARE(w->windowTitle(), QStringLiteral("データ変換"));
    QVERIFY(w->isVisible());
    QCOMPARE(control<QLabel>(*w, "Label1")->text(), QStringLiteral("データ変換  Access97 →Access2000"));
    QCOMPARE(FrmConversion::ExplanationText(),
             QStringLiteral("アクセス97からアクセス2000へのデータ変換を行います。\r\n"
                            "旧形式のアクセス97のデータはアクセス2000と同じデータフォルダに置いてください。\r\n"
                            "　Velt Ver 1.20より以前から使用している場合は「実行」ボタンを押してデータ変換を行ってください。\r\n"
                            "　Velt を新規で使用する場合はデータ変換の必要はありません。"));
    QCOMPARE(control<QLabel>(*w, "Lbl説明")->text(), FrmConversion::ExplanationText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(control<QPushButton>(*w, "cmd実行")->text(), QStringLiteral("実　行"));
    QCOMPARE(cmd閉じる->text(), QStringLiteral("閉じる"));
    QCOMPARE(cmd閉じる->toolTip(), QStringLiteral("データ変換フォームを閉じます。"));
    QCOMPARE(w->OldDataPath(), oldPath(f));

    // 閉じる before any run: the window goes, nothing is touched.
    const QStringList data = TableSnapshot(f.data(), kTables);
    QPointer<FrmConversion> gone = w;
    cmd閉じる->click();
    QTRY_VERIFY(gone.isNull());
    QCOMPARE(TableSnapshot(f.data(), kTables), data);
    QVERIFY(f.messages.shown().isEmpty());
}

void TestConversionWindow::noOlderFile()
{
    MainWindowFixture f;
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    const QStringList data = TableSnapshot(f.data(), kTables);
    const QString explanation = control<QLabel>(*w, "Lbl説明")->text();
    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("Access97のデータは見つかりませんでした。")});
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("情報"));
    QCOMPARE(control<QLabel>(*w, "Lbl説明")->text(), explanation);
    QCOMPARE(TableSnapshot(f.data(), kTables), data);
    QVERIFY(!QFileInfo::exists(oldPath(f)));
}

void TestConversionWindow::completeRun()
{
    MainWindowFixture f;
    QVERIFY(OldDataFile::create(oldPath(f), {
        QStringLiteral("insert into 自社情報 (自社名, 最大見積書番号) values ('旧商会', 40)"),
        QStringLiteral("insert into 顧客マスタ values ('A社', '東京都', 'えーしゃ', '様')"),
        QStringLiteral("insert into 商品マスタ values ('ペン', NULL, '10', '本', 100, 0, 'ぺん')"),
        QStringLiteral("insert into コードマスタ values ('単位', '01', '本')"),
        QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 合計) values (40, 'A社', '2004-03-09', 200)"),
        QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 金額) "
                       "values ('A社', '2004-03-09', 40, 1, 0, 'ペン', 200)"),
    }));
    const QByteArray oldHash = FileHash(oldPath(f));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    auto* Lbl説明 = control<QLabel>(*w, "Lbl説明");
    auto* cmd実行 = control<QPushButton>(*w, "cmd実行");
    auto* cmd閉じる = control<QPushButton>(*w, "cmd閉じる");

    // At every step: its text on the label, both buttons disabled, a close refused.
    QStringList progress;
    bool buttonsDisabled = true;
    connect(w, &FrmConversion::progressShown, w, [&](const QString& text) {
        progress << text;
        buttonsDisabled = buttonsDisabled && Lbl説明->text() == text && !cmd実行->isEnabled() &&
                          !cmd閉じる->isEnabled() && w->running();
        w->close();
    });
    bool labelKeptUntilTheMessage = false;
    f.messages.setOnShow([&](const MessageBoxSpec&) { labelKeptUntilTheMessage = Lbl説明->text() == kProgress.last(); });

    QTest::mouseClick(cmd実行, Qt::LeftButton);
    QCOMPARE(progress, kProgress);
    QVERIFY(buttonsDisabled);
    QCOMPARE(f.messages.texts(), QStringList{kDone});
    QCOMPARE(f.messages.shown().first().title, QStringLiteral("情報"));
    QVERIFY(labelKeptUntilTheMessage);
    QVERIFY(w->isVisible());
    QCOMPARE(Lbl説明->text(), QString());
    QVERIFY(cmd実行->isEnabled() && cmd閉じる->isEnabled());

    QCOMPARE(f.data().scalar(QStringLiteral("select 最大見積書番号 from 自社情報")).toInt(), 40);
    QCOMPARE(f.data().scalar(QStringLiteral("select 合計 from 見積書ヘッダ where 伝票番号 = 40")).toLongLong(), 2000000);
    QCOMPARE(f.data().scalar(QStringLiteral("select count(*) from 見積書 where 伝票番号 = 40")).toInt(), 1);
    // The older file is as it was, and nothing new lies beside it.
    QCOMPARE(FileHash(oldPath(f)), oldHash);
    QCOMPARE(oldFiles(f.folder.dataFolder()), QStringList{QStringLiteral("VeltData.mdb")});

    // Closed and opened again: the explanation is back.
    QPointer<FrmConversion> gone = w;
    cmd閉じる->click();
    QTRY_VERIFY(gone.isNull());
    control<QPushButton>(f.settings(), "cmdデータ変換")->click();
    auto* again = qobject_cast<FrmConversion*>(f.session.windows().find(QStringLiteral("Frmデータ変換")));
    QVERIFY(again);
    QCOMPARE(control<QLabel>(*again, "Lbl説明")->text(), FrmConversion::ExplanationText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestConversionWindow::olderFileNameInAnyCase_data()
{
    QTest::addColumn<QStringList>("files");  // files put into the data folder
    QTest::addColumn<QString>("found");      // the one converted
    QTest::newRow("upper case") << QStringList{"VELTDATA.MDB"} << "VELTDATA.MDB";
    QTest::newRow("lower case") << QStringList{"veltdata.mdb"} << "veltdata.mdb";
    QTest::newRow("exact spelling first") << QStringList{"VELTDATA.MDB", "VeltData.mdb"} << "VeltData.mdb";
}

void TestConversionWindow::olderFileNameInAnyCase()
{
    QFETCH(QStringList, files);
    QFETCH(QString, found);
    MainWindowFixture f;
    for (const QString& name : files)
        QVERIFY(OldDataFile::create(f.folder.dataFolder() + name,
                                    {QStringLiteral("insert into 顧客マスタ values ('%1', NULL, 'あ', NULL)").arg(name)}));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    QCOMPARE(w->OldDataPath(), f.folder.dataFolder() + found);
    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.texts(), QStringList{kDone});
    QCOMPARE(QueryCells(f.data(), QStringLiteral("select 顧客名 from 顧客マスタ")), QStringList{"'" + found + "'"});
}

void TestConversionWindow::emptyOlderTables()
{
    MainWindowFixture f;
    QVERIFY(OldDataFile::create(oldPath(f), {}));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    const QStringList data = TableSnapshot(f.data(), kTables);
    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.texts(), QStringList{kDone});
    QCOMPARE(control<QLabel>(*w, "Lbl説明")->text(), QString());
    QCOMPARE(TableSnapshot(f.data(), kTables), data);
}

void TestConversionWindow::incompleteRunIsSummarised()
{
    MainWindowFixture f;
    QVERIFY(OldDataFile::create(oldPath(f), {QStringLiteral("insert into 顧客マスタ values ('A社', NULL, 'あ', NULL), "
                                                            "(NULL, NULL, 'い', NULL)")}));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.texts(), QStringList{kDone + QStringLiteral("\n\n変換できなかったデータがあります。\n"
                                                                    "自社情報：読込 0件、変換 0件\n"
                                                                    "顧客マスタ：読込 2件、変換 1件、キーが空のためスキップ 1件\n"
                                                                    "商品マスタ：読込 0件、変換 0件\n"
                                                                    "コードマスタ：読込 0件、変換 0件\n"
                                                                    "見積書ヘッダ：読込 0件、変換 0件\n"
                                                                    "見積書：読込 0件、変換 0件")});
    QCOMPARE(control<QLabel>(*w, "Lbl説明")->text(), QString());
}

// A table the current file refuses is named in Japanese; the database's own
// English words are in the box's details.
void TestConversionWindow::failedTableKeepsEngineWordsInDetails()
{
    MainWindowFixture f;
    QVERIFY(OldDataFile::create(oldPath(f), {QStringLiteral("insert into 顧客マスタ values ('A社', NULL, 'あ', NULL)")}));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    QVERIFY(f.data().exec(QStringLiteral(
        "create trigger refuse before insert on 顧客マスタ begin select raise(abort, 'disk says no'); end")));
    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec& box = f.messages.shown().first();
    QVERIFY2(box.text.contains(QStringLiteral("顧客マスタ：変換できませんでした")), qPrintable(box.text));
    QVERIFY2(!box.text.contains(QStringLiteral("disk says no")), qPrintable(box.text));
    QVERIFY2(box.detail.contains(QStringLiteral("disk says no")), qPrintable(box.detail));
}

// Quotation numbers the current file holds for other quotations are named in
// the closing box, whatever characters surround them: the box shows the
// conversion's message whole.
void TestConversionWindow::conflictingNumbersStayVisible()
{
    MainWindowFixture f;
    QVERIFY(OldDataFile::create(
        oldPath(f),
        {QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values (7, 'A社', '2004-03-09'), (295, 'B社', '2004-04-01')"),
         QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名) values "
                        "('A社', '2004-03-09', 7, 1, 0, '旧品名'), ('B社', '2004-04-01', 295, 1, 0, '別品名')")}));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    QVERIFY(f.data().exec(QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付) values "
                                         "(7, '現社', '2024-01-01'), (295, '現社', '2024-01-02')")));
    control<QPushButton>(*w, "cmd実行")->click();

    QCOMPARE(f.messages.shown().size(), 1);
    const QString text = f.messages.texts().first();
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto named = [](const QString& line) {
        for (const char* number : {"7", "295"})
            if (!line.contains(QRegularExpression(QStringLiteral("(?<![0-9])%1(?![0-9])").arg(QLatin1String(number)))))
                return false;
        return true;
    };
    QVERIFY2(std::any_of(lines.cbegin(), lines.cend(), named), qPrintable(text));
    QVERIFY(f.messages.shown().first().detail.isEmpty());
}

void TestConversionWindow::unreadableFileWritesNothing_data()
{
    QTest::addColumn<QByteArray>("content");  // "<sqlite>": an SQLite file without the six tables
    QTest::addColumn<QString>("detail");
    QTest::newRow("text named VeltData.mdb") << QByteArray("これはデータベースではありません\n") << "データベースファイルではありません";
    QTest::newRow("empty file") << QByteArray() << "データベースファイルではありません";
    QByteArray jet = jetSignature();
    jet += QByteArray(4096, '\xff');
    QTest::newRow("Jet signature, unreadable rest") << jet << "読み込めません";
    QTest::newRow("SQLite file of other tables") << QByteArray("<sqlite>") << "変換するテーブルがありません";
}

void TestConversionWindow::unreadableFileWritesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, detail);
    MainWindowFixture f;
    if (content == "<sqlite>") {
        QVERIFY(OldDataFile::create(oldPath(f), {QStringLiteral("create table 請求書 (番号 LONG)")}, false));
    } else {
        QFile file(oldPath(f));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const QByteArray oldHash = FileHash(oldPath(f));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    const QStringList data = TableSnapshot(f.data(), kTables);
    const QString explanation = control<QLabel>(*w, "Lbl説明")->text();
    QStringList progress;
    connect(w, &FrmConversion::progressShown, w, [&](const QString& text) { progress << text; });

    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.shown().size(), 1);
    const MessageBoxSpec box = f.messages.shown().first();
    QCOMPARE(box.title, QStringLiteral("エラー"));
    QVERIFY2(box.text.startsWith(QStringLiteral("Access97のデータ（VeltData.mdb）を読み込めませんでした。データは変更していません。")),
             qPrintable(box.text));
    QVERIFY2(box.text.contains(detail), qPrintable(box.text));
    QVERIFY(progress.isEmpty());
    QCOMPARE(control<QLabel>(*w, "Lbl説明")->text(), explanation);
    QVERIFY(control<QPushButton>(*w, "cmd実行")->isEnabled() && control<QPushButton>(*w, "cmd閉じる")->isEnabled());
    QCOMPARE(TableSnapshot(f.data(), kTables), data);
    QCOMPARE(FileHash(oldPath(f)), oldHash);
}

// The main window follows a conversion: the settings are read again, and a
// new quotation on screen whose number the conversion stored takes the next
// free number, keeping what was typed, so that storing it leaves the
// converted quotation as it is.
void TestConversionWindow::newQuotationOnScreenMovesOffAConvertedNumber_data()
{
    QTest::addColumn<QString>("oldCounter");  // 最大見積書番号 of the older file
    QTest::addColumn<QStringList>("oldNumbers");  // its stored quotations, all of A社
    QTest::addColumn<QString>("proposed");    // txtNo after the run
    QTest::newRow("older counter 1") << "1" << QStringList{"1"} << "2";
    QTest::newRow("older counter 40") << "40" << QStringList{"1", "40"} << "41";
    // No older counter: the run leaves the counter at the highest number stored.
    QTest::newRow("no older counter") << "NULL" << QStringList{"1", "2", "4"} << "5";
}

void TestConversionWindow::newQuotationOnScreenMovesOffAConvertedNumber()
{
    QFETCH(QString, oldCounter);
    QFETCH(QStringList, oldNumbers);
    QFETCH(QString, proposed);
    MainWindowFixture f;
    QStringList old{QStringLiteral("insert into 自社情報 (自社名, 自社情報, 最大見積書番号) values ('旧商会', '大阪市', %1)")
                        .arg(oldCounter)};
    for (const QString& n : oldNumbers) {
        old << QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 合計) values (%1, 'A社', '2004-03-09', 200)").arg(n)
            << QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 金額) "
                              "values ('A社', '2004-03-09', %1, 1, 0, 'ペン', 200)")
                   .arg(n);
    }
    QVERIFY(OldDataFile::create(oldPath(f), old));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    QuotationTab& q = f.quotation();
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("1"));
    // A new quotation typed on screen before the run.
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("B社"));
    control<QLineEdit>(q, "txt件名")->setText(QStringLiteral("新しい件名"));
    QVERIFY(control<WorkTableModel>(q, "wkDat")->editCell(0, DetailLine::品名, QStringLiteral("消しゴム")));

    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.texts(), QStringList{kDone});

    // The settings as converted, in the record, on the settings tab and on the quotation tab.
    QCOMPARE(f.session.設定情報.自社名, QStringLiteral("旧商会"));
    QCOMPARE(control<QLineEdit>(f.settings(), "txt自社名")->text(), QStringLiteral("旧商会"));
    QCOMPARE(control<QLabel>(q, "lbl自社名")->text(), QStringLiteral("旧商会"));
    // The next free number; what was typed stays.
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), proposed);
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("B社"));
    QCOMPARE(control<QLineEdit>(q, "txt件名")->text(), QStringLiteral("新しい件名"));
    QCOMPARE(lines::cells(f.work(), 0).first(), QStringLiteral("消しゴム"));

    // Stored under that number; every converted quotation is as it was.
    const QStringList before = TableSnapshot(f.data(), {QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")});
    f.messages.clear();
    control<QPushButton>(q, "cmd登録")->click();
    QCOMPARE(f.messages.shown().size(), 2);  // the question and the completion
    QCOMPARE(f.data().scalar(QStringLiteral("select 顧客名 from 見積書ヘッダ where 伝票番号 = ?"), {proposed.toInt()}).toString(),
             QStringLiteral("B社"));
    QCOMPARE(f.data().scalar(QStringLiteral("select 品名 from 見積書 where 伝票番号 = ?"), {proposed.toInt()}).toString(),
             QStringLiteral("消しゴム"));
    for (const QString& n : oldNumbers) {
        QCOMPARE(f.data().scalar(QStringLiteral("select 顧客名 from 見積書ヘッダ where 伝票番号 = ?"), {n.toInt()}).toString(),
                 QStringLiteral("A社"));
        QCOMPARE(f.data().scalar(QStringLiteral("select group_concat(品名) from 見積書 where 伝票番号 = ?"), {n.toInt()}).toString(),
                 QStringLiteral("ペン"));
    }
    const QStringList after = TableSnapshot(f.data(), {QStringLiteral("見積書ヘッダ"), QStringLiteral("見積書")});
    QCOMPARE(after.size(), before.size() + 2);  // one header and one line more, nothing else changed
    for (const QString& row : before) QVERIFY2(after.contains(row), qPrintable(row));
}

// A quotation loaded from the store keeps its number (and its screen): its
// number stands for itself, and the conversion leaves another quotation's
// number alone.
void TestConversionWindow::loadedQuotationKeepsItsNumber()
{
    MainWindowFixture f;
    f.folder.prepare({QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 敬称) values (1, 'C社', '2020-01-06', '様')"),
                      QStringLiteral("update 自社情報 set 最大見積書番号 = 1")});
    QVERIFY(OldDataFile::create(oldPath(f), {
        QStringLiteral("insert into 自社情報 (自社名, 最大見積書番号) values ('旧商会', 1)"),
        QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 合計) values (1, 'A社', '2004-03-09', 200)"),
    }));
    FrmConversion* w = openWindow(f);
    QVERIFY(w);
    QuotationTab& q = f.quotation();
    q.openNumber(QStringLiteral("1"));
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("C社"));

    control<QPushButton>(*w, "cmd実行")->click();
    QCOMPARE(f.messages.shown().size(), 1);
    QCOMPARE(f.session.設定情報.自社名, QStringLiteral("旧商会"));
    QCOMPARE(control<QLineEdit>(q, "txtNo")->text(), QStringLiteral("1"));
    QCOMPARE(control<TextComboBox>(q, "cmb顧客名")->text(), QStringLiteral("C社"));
}

QTEST_MAIN(TestConversionWindow)
#include "tst_conversion_window.moc"
