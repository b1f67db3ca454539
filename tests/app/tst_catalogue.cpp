#include "app/MessageCatalog.h"

#include <QtTest>

using Spec = MessageBoxSpec;
Q_DECLARE_METATYPE(Spec::Buttons)
Q_DECLARE_METATYPE(Spec::Icon)
Q_DECLARE_METATYPE(Spec::Default)
Q_DECLARE_METATYPE(MessageAnswer)

class TestCatalogue : public QObject {
    Q_OBJECT
private slots:
    void boxes_data();
    void boxes();
    void failureShowsTheProgramsWordsWhole_data();
    void failureShowsTheProgramsWordsWhole();
    void sqliteReasonsInJapanese_data();
    void sqliteReasonsInJapanese();
    void longValuesAreShortened_data();
    void longValuesAreShortened();
    void refusedNumbers_data();
    void refusedNumbers();
};

void TestCatalogue::boxes_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");    // empty: no box at all
    QTest::addColumn<QString>("message");
    QTest::addColumn<Spec::Buttons>("buttons");
    QTest::addColumn<Spec::Icon>("icon");
    QTest::addColumn<Spec::Default>("defaultButton");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("result");

    const auto YN = Spec::Buttons::YesNo;
    const auto OK = Spec::Buttons::Ok;
    const auto Q = Spec::Icon::Question;
    const auto I = Spec::Icon::Information;
    const auto W = Spec::Icon::Warning;
    const auto dY = Spec::Default::Yes;
    const auto dN = Spec::Default::No;
    const auto dO = Spec::Default::Ok;
    const auto yes = MessageAnswer::Yes;
    const auto no = MessageAnswer::No;

    QTest::newRow("登録 確認 yes") << "登録" << "確認" << "設定" << "登録の確認" << "設定 を登録します。よろしいですか" << YN << Q << dY << yes << true;
    QTest::newRow("登録 確認 no") << "登録" << "確認" << " 山田商店" << "登録の確認" << " 山田商店 を登録します。よろしいですか" << YN << Q << dY << no << false;
    QTest::newRow("登録 完了") << "登録" << "完了" << "設定" << "登録完了" << "設定 を登録しました。" << OK << I << dO << yes << false;
    QTest::newRow("登録 チェック ignores text") << "登録" << "チェック" << "xyz" << "入力項目のチェック" << "入力必須項目が空白です。" << OK << I << dO << yes << false;
    QTest::newRow("削除 確認 ignores text") << "削除" << "確認" << "xyz" << "削除の確認" << "すべてのデータを削除します。よろしいですか" << YN << Q << dN << yes << true;
    QTest::newRow("削除 伝票確認") << "削除" << "伝票確認" << "12" << "削除の確認" << "伝票 12 を削除します。よろしいですか" << YN << Q << dN << yes << true;
    QTest::newRow("削除 伝票確認2") << "削除" << "伝票確認2" << "指定されたデータ" << "削除の確認" << "指定されたデータ を削除します。よろしいですか" << YN << Q << dN << no << false;
    QTest::newRow("削除 指定確認") << "削除" << "指定確認" << "見積書" << "削除の確認" << "指定された 見積書 を削除します。よろしいですか" << YN << Q << dN << yes << true;
    QTest::newRow("削除 完了") << "削除" << "完了" << "顧客情報" << "削除の完了" << "データ 顧客情報 を削除しました。" << OK << I << dO << yes << false;
    QTest::newRow("入力 必須入力なし") << "入力" << "必須入力なし" << "顧客リンクアプリ名が" << "入力注意" << "顧客リンクアプリ名が指定されていません。確認してください" << OK << W << dO << yes << false;
    QTest::newRow("入力 必須入力なし empty") << "入力" << "必須入力なし" << "" << "入力注意" << "指定されていません。確認してください" << OK << W << dO << yes << false;
    QTest::newRow("入力 数字のみ") << "入力" << "数字のみ" << "伝票番号" << "入力注意" << "伝票番号には数字以外使用できません" << OK << W << dO << yes << false;
    QTest::newRow("印刷 確認") << "印刷" << "確認" << "見積書" << "印刷の確認" << "見積書を印刷します。よろしいですか" << YN << Q << dN << yes << true;
    QTest::newRow("その他 メッセージ empty") << "その他" << "メッセージ" << "" << "情報" << "" << OK << I << dO << yes << false;
    QTest::newRow("その他 注意") << "その他" << "注意" << "1行目には小計は作成できません。" << "注意" << "1行目には小計は作成できません。" << OK << I << dO << yes << false;
    QTest::newRow("その他 ファイルなし") << "その他" << "ファイルなし" << "郵便番号辞書" << "ファイルチェック" << "郵便番号辞書がありません。確認してください。" << OK << I << dO << yes << false;
    QTest::newRow("その他 確認") << "その他" << "確認" << "すべてのデータを初期化します。" << "確認" << "すべてのデータを初期化します。、よろしいですか" << YN << Q << dY << yes << true;
    QTest::newRow("unknown category") << "保存" << "確認" << "x" << "" << "" << OK << I << dO << yes << false;
    QTest::newRow("kind with a trailing blank") << "登録" << "確認 " << "x" << "" << "" << OK << I << dO << yes << false;
    QTest::newRow("kind in full width") << "削除" << "伝票確認２" << "x" << "" << "" << OK << I << dO << yes << false;
}

void TestCatalogue::boxes()
{
    QFETCH(QString, category);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, message);
    QFETCH(Spec::Buttons, buttons);
    QFETCH(Spec::Icon, icon);
    QFETCH(Spec::Default, defaultButton);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, result);

    RecordingPresenter rec;
    const MessageCatalog catalogue(&rec);
    rec.setDefaultAnswer(answer);
    QCOMPARE(catalogue.ShowMessage(category, kind, text), result);
    if (title.isEmpty()) {
        QVERIFY(rec.shown().isEmpty());
        return;
    }
    QCOMPARE(rec.shown().size(), 1);
    const Spec& s = rec.shown().first();
    QCOMPARE(s.title, title);
    QCOMPARE(s.text, message);
    QCOMPARE(s.buttons, buttons);
    QCOMPARE(s.icon, icon);
    QCOMPARE(s.defaultButton, defaultButton);
}

// The program's own words are shown whole, whatever characters they hold
// (numbers in parentheses, a file name with a blank or parentheses, a value
// in ASCII, a path at the start of a line); only what the engine said goes
// to the details.
void TestCatalogue::failureShowsTheProgramsWordsWhole_data()
{
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("engine");
    QTest::newRow("skipped quotation numbers")
        << QStringLiteral("見積書ヘッダ：読込 5件、変換 3件、別の見積書が登録済みの番号（7, 295）のためスキップ 2件") << "";
    QTest::newRow("damaged file with a blank and parentheses in its name")
        << QStringLiteral("「顧客 (2).mdb」は壊れている可能性があるため読み込めません（テーブル「顧客マスタ」の 3 行目の辺りで警告が出ました）。")
        << "Warning: unrecognized usage map type: 255";
    QTest::newRow("no database, parentheses in the name") << QStringLiteral("「顧客(old).mdb」はデータベースファイルではありません。") << "";
    QTest::newRow("a size in parentheses")
        << QStringLiteral("「x.mdb」は壊れている可能性があるため読み込めません（読み込み用のプログラムが異常終了しました。"
                          "メモリの上限（512 MB）を超えたか、読めないデータがあります）。")
        << "";
    QTest::newRow("an English word in the program's parentheses")
        << QStringLiteral("「x.mdb」を読み込めません（Jet データベースとして開けません）。") << "";
    QTest::newRow("a value in ASCII") << QStringLiteral("テーブル「顧客マスタ」の列「単価」の値「ABC (Japan)」を読み込めません。") << "";
    QTest::newRow("a line opening with a path") << QStringLiteral("C:\\旧\\顧客.mdb を書き込めません。") << "";
    QTest::newRow("a reason and SQLite's words")
        << QStringLiteral("ファイルがほかのプログラムで使用中です。そのプログラムを閉じてから、もう一度やり直してください。")
        << "SQLite 5: database is locked Unable to fetch row";
    QTest::newRow("SQLite's words only") << "" << "SQLite 19: UNIQUE constraint failed: 顧客マスタ.顧客名";
    QTest::newRow("nothing said") << "" << "";
}

void TestCatalogue::failureShowsTheProgramsWordsWhole()
{
    QFETCH(QString, said);
    QFETCH(QString, engine);
    RecordingPresenter rec;
    const MessageCatalog catalogue(&rec);
    const QString what = QStringLiteral("顧客情報を登録できませんでした。顧客マスタは変更していません。");
    catalogue.ShowFailure(what, Failure(said, engine));
    QCOMPARE(rec.shown().size(), 1);
    QCOMPARE(rec.shown().first().title, QStringLiteral("エラー"));
    QCOMPARE(rec.shown().first().text, said.isEmpty() ? what : what + QStringLiteral("\n\n") + said);
    QCOMPARE(rec.shown().first().detail, engine);
}

// The reason an SQLite result code names is said in Japanese in the box; the
// code and SQLite's words are in its details.
void TestCatalogue::sqliteReasonsInJapanese_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("engineText");
    QTest::addColumn<QString>("reason");  // empty: none said
    QTest::newRow("full") << 13 << "database or disk is full" << "ディスクの空き容量が足りません";
    QTest::newRow("busy") << 5 << "database is locked" << "ほかのプログラムで使用中です";
    QTest::newRow("locked") << 6 << "database table is locked" << "ほかのプログラムで使用中です";
    QTest::newRow("corrupt") << 11 << "database disk image is malformed" << "壊れている可能性があります";
    QTest::newRow("not a database") << 26 << "file is not a database" << "壊れている可能性があります";
    QTest::newRow("short read") << 522 << "disk I/O error" << "壊れている可能性があります";
    QTest::newRow("read-only") << 8 << "attempt to write a readonly database" << "書き込めません";
    QTest::newRow("cannot open") << 14 << "unable to open database file" << "書き込めません";
    QTest::newRow("permission") << 3 << "access permission denied" << "書き込めません";
    QTest::newRow("moved away: the program's own sentence says it") << 1032 << "attempt to write a readonly database" << "";
    QTest::newRow("a refused constraint") << 19 << "CHECK constraint failed" << "";
}

void TestCatalogue::sqliteReasonsInJapanese()
{
    QFETCH(int, code);
    QFETCH(QString, engineText);
    QFETCH(QString, reason);
    RecordingPresenter rec;
    const MessageCatalog catalogue(&rec);
    const QString what = QStringLiteral("見積書を登録できませんでした。");
    catalogue.ShowFailure(what, Failure::sqlite(code, engineText));
    const Spec& box = rec.shown().first();
    if (reason.isEmpty())
        QCOMPARE(box.text, what);
    else
        QVERIFY2(box.text.startsWith(what + QStringLiteral("\n\n")) && box.text.contains(reason), qPrintable(box.text));
    QVERIFY2(!box.text.contains(engineText), qPrintable(box.text));
    QVERIFY2(box.detail.contains(engineText) && box.detail.contains(QString::number(code)), qPrintable(box.detail));
}

// A value set into a wording keeps its first 40 characters (cut before a line
// break) and "…", so that a box with a 10,000-character name still fits the
// screen; the kinds that take a whole sentence show it as it is.
void TestCatalogue::longValuesAreShortened_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    const QString forty = QStringLiteral("商").repeated(40);
    const QString huge = QStringLiteral("長い名前").repeated(2500);
    QTest::newRow("登録 確認, 10,000 characters") << "登録" << "確認" << huge
        << QStringLiteral("長い名前").repeated(10) + QStringLiteral("… を登録します。よろしいですか");
    QTest::newRow("登録 完了, a blank and the name") << "登録" << "完了" << QStringLiteral(" ") + forty
        << QStringLiteral(" ") + QStringLiteral("商").repeated(39) + QStringLiteral("… を登録しました。");
    QTest::newRow("forty characters stay whole") << "削除" << "伝票確認2" << forty << forty + QStringLiteral(" を削除します。よろしいですか");
    QTest::newRow("cut before a line break") << "入力" << "数字のみ" << QStringLiteral("単価\r\n") + huge
        << QStringLiteral("単価…には数字以外使用できません");
    QTest::newRow("never half a character") << "その他" << "ファイルなし" << QStringLiteral("a").repeated(39) + QStringLiteral("𠮷𠮷")
        << QStringLiteral("a").repeated(39) + QStringLiteral("…がありません。確認してください。");
    QTest::newRow("a sentence stays whole") << "その他" << "メッセージ" << huge << huge;
}

void TestCatalogue::longValuesAreShortened()
{
    QFETCH(QString, category);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, message);
    RecordingPresenter rec;
    const MessageCatalog catalogue(&rec);
    catalogue.ShowMessage(category, kind, text);
    QCOMPARE(rec.texts(), QStringList{message});
}

// A typed number a box refused: text that is no number gets the digits-only
// warning, a number the box cannot hold the range it takes.
void TestCatalogue::refusedNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString digitsOnly = QStringLiteral("トップマージン(TM)には数字以外使用できません");
    const QString range = QStringLiteral("トップマージン(TM)には -99,999 から 99,999 までの数を入力してください");
    QTest::newRow("letters") << "abc" << digitsOnly;
    QTest::newRow("an exponent") << "1e400" << digitsOnly;
    QTest::newRow("too large") << "123456" << range;
    QTest::newRow("twenty digits") << "-12345678901234567890" << range;
}

void TestCatalogue::refusedNumbers()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    RecordingPresenter rec;
    const MessageCatalog catalogue(&rec);
    catalogue.ShowRefusedNumber(QStringLiteral("トップマージン(TM)"), typed, Currency::fromWhole(-99999),
                                Currency::fromWhole(99999));
    QCOMPARE(rec.texts(), QStringList{message});
    QCOMPARE(rec.shown().first().title, QStringLiteral("入力注意"));
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
