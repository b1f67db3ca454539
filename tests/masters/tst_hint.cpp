// The hint window ヒント, opened with the key the settings tab's hint button
// gives it (that the button gives it is the start-up test's): edit mode and
// the button colours, storing one row per key, deleting, Null contents,
// quotes in the text, a refused store, and a window without a key.

#include "app/Dialogs.h"
#include "masters/HintWindow.h"
#include "platform/Controls.h"
#include "support/FindControl.h"
#include "support/SessionFixture.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

// Opens the window as the main window's hint button does: the key is the
// main window's name, the button and the main window's caption.
HintWindow* openHint(SessionFixture& f, const QString& caption = QStringLiteral("Velt 見積書"))
{
    f.session.setHintKey({QStringLiteral("Velt"), QStringLiteral("cmdHint"), caption});
    return f.openWindow<HintWindow>(QStringLiteral("Hint"));
}

// The stored hints, one text a row: "FormName|CtlName|FormTitle|Contents" (<null> for Null).
QStringList hints(SessionFixture& f)
{
    QStringList out;
    for (const QSqlRecord& r : f.data().rows(QStringLiteral("select FormName, CtlName, FormTitle, Contents from KivHint order by rowid"))) {
        QStringList cells;
        for (int c = 0; c < 4; ++c) cells << (r.value(c).isNull() ? QStringLiteral("<null>") : r.value(c).toString());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QColor buttonColour(QPushButton* b)
{
    return b->palette().color(QPalette::Button);
}

const QString kStoreQuestion = QStringLiteral("ヒント を登録します。よろしいですか");
const QString kStored = QStringLiteral("ヒント を登録しました。");
const QString kDeleteQuestion = QStringLiteral("ヒント を削除します。よろしいですか");
const QString kDeleted = QStringLiteral("データ ヒント を削除しました。");

}  // namespace

class TestHint : public QObject {
    Q_OBJECT
private slots:
    void opensWithKeyAndStoredText_data();
    void opensWithKeyAndStoredText();
    void editModeToggles();
    void storeKeepsOneRowPerKey();
    void deleteHint_data();
    void deleteHint();
    void clearThenCloseKeepsStoredHint();
    void failedStoreKeepsHint();
    void windowWithoutKeyStoresNothing();
    void busyWindowStartsNothing();
    void picture();
};

void TestHint::opensWithKeyAndStoredText_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no hint stored") << QStringList{} << "";
    QTest::newRow("text of several lines")
        << QStringList{"insert into KivHint values ('Velt', 'cmdHint', '旧タイトル', '一行目' || char(13, 10) || 'it''s')"}
        << "一行目\nit's";
    QTest::newRow("Null contents") << QStringList{"insert into KivHint values ('Velt', 'cmdHint', 'x', NULL)"} << "";
    QTest::newRow("another key's hint")
        << QStringList{"insert into KivHint values ('Velt', 'cmd登録', 'x', '別のヒント')"} << "";
}

void TestHint::opensWithKeyAndStoredText()
{
    QFETCH(QStringList, statements);
    QFETCH(QString, shown);
    SessionFixture f;
    f.folder.prepare(statements);
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    QVERIFY(h->isVisible());
    QCOMPARE(h->windowTitle(), QStringLiteral("ヒント        "));
    QCOMPARE(control<QLabel>(*h, "lblFormName")->text(), QStringLiteral("Velt"));
    QCOMPARE(control<QLabel>(*h, "lblCtlName")->text(), QStringLiteral("cmdHint"));
    QCOMPARE(control<QLabel>(*h, "lblFormTitle")->text(), QStringLiteral("Velt 見積書"));
    QCOMPARE(control<MultiLineEdit>(*h, "txtContents")->toPlainText(), shown);
    // Edit mode off: read-only, and every button in the one colour.
    QVERIFY(control<MultiLineEdit>(*h, "txtContents")->isReadOnly());
    QVERIFY(!h->editMode());
    for (const char* button : {"cmd編集", "cmd登録", "cmd削除", "cmdクリア", "cmd閉じる"})
        QCOMPARE(buttonColour(control<QPushButton>(*h, button)), QColor(0x59, 0x89, 0x9F));
    QVERIFY(f.messages.shown().isEmpty());
}

void TestHint::editModeToggles()
{
    SessionFixture f;
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    auto* cmd編集 = control<QPushButton>(*h, "cmd編集");
    auto* txtContents = control<MultiLineEdit>(*h, "txtContents");
    h->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(h));

    QTest::mouseClick(cmd編集, Qt::LeftButton);
    QVERIFY(h->editMode());
    QVERIFY(!txtContents->isReadOnly());
    QCOMPARE(buttonColour(cmd編集), QColor(0xFF, 0x80, 0x80));
    QCOMPARE(WindowsColour(buttonColour(cmd編集)), HintWindow::EditModeColour);
    QCOMPARE(buttonColour(control<QPushButton>(*h, "cmd登録")), QColor(0x59, 0x89, 0x9F));
    QTRY_VERIFY(txtContents->hasFocus());
    QTest::keyClicks(txtContents, QStringLiteral("abc"));
    QCOMPARE(txtContents->toPlainText(), QStringLiteral("abc"));

    QTest::mouseClick(cmd編集, Qt::LeftButton);
    QVERIFY(!h->editMode());
    QVERIFY(txtContents->isReadOnly());
    QCOMPARE(buttonColour(cmd編集), QColor(0x59, 0x89, 0x9F));
    QTRY_VERIFY(txtContents->hasFocus());
    QTest::keyClicks(txtContents, QStringLiteral("d"));
    QCOMPARE(txtContents->toPlainText(), QStringLiteral("abc"));
}

void TestHint::storeKeepsOneRowPerKey()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('Velt', 'cmd登録', 'x', '別のヒント')")});
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    control<MultiLineEdit>(*h, "txtContents")->setText(QStringLiteral("最初の\r\nヒント"));
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), (QStringList{kStoreQuestion, kStored}));
    QCOMPARE(hints(f), (QStringList{"Velt|cmd登録|x|別のヒント", "Velt|cmdHint|Velt 見積書|最初の\r\nヒント"}));

    // Opened again under another caption: the title stored is the caption when the button was pressed.
    h->close();
    QTRY_VERIFY(!f.session.windows().find(QStringLiteral("Hint")));
    h = openHint(f, QStringLiteral("Velt's 見積書"));
    QCOMPARE(control<MultiLineEdit>(*h, "txtContents")->text(), QStringLiteral("最初の\r\nヒント"));
    control<MultiLineEdit>(*h, "txtContents")->setText(QStringLiteral("it's the 'second'"));
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), (QStringList{kStoreQuestion, kStored}));
    QCOMPARE(hints(f), (QStringList{"Velt|cmd登録|x|別のヒント", "Velt|cmdHint|Velt's 見積書|it's the 'second'"}));

    // An empty text is stored as Null; No stores nothing.
    control<MultiLineEdit>(*h, "txtContents")->setText(QString());
    f.messages.clear();
    f.messages.answerNext(MessageAnswer::No);
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);
    QCOMPARE(f.messages.texts(), QStringList{kStoreQuestion});
    QCOMPARE(hints(f).last(), QStringLiteral("Velt|cmdHint|Velt's 見積書|it's the 'second'"));
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);
    QCOMPARE(hints(f).last(), QStringLiteral("Velt|cmdHint|Velt's 見積書|<null>"));
}

void TestHint::deleteHint_data()
{
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<QStringList>("stored");

    const QString other = QStringLiteral("insert into KivHint values ('Velt', 'cmd登録', 'x', '別')");
    const QString own = QStringLiteral("insert into KivHint values ('Velt', 'cmdHint', 'x', 'it''s mine')");
    QTest::newRow("stored hint") << QStringList{other, own} << true << "" << QStringList{"Velt|cmd登録|x|別"};
    QTest::newRow("answer No") << QStringList{other, own} << false << "it's mine"
                               << QStringList{"Velt|cmd登録|x|別", "Velt|cmdHint|x|it's mine"};
    // Nothing stored for the key: only the text box is emptied.
    QTest::newRow("nothing stored") << QStringList{other} << true << "" << QStringList{"Velt|cmd登録|x|別"};
}

void TestHint::deleteHint()
{
    QFETCH(QStringList, statements);
    QFETCH(bool, yes);
    QFETCH(QString, textAfter);
    QFETCH(QStringList, stored);
    SessionFixture f;
    f.folder.prepare(statements);
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    auto* txtContents = control<MultiLineEdit>(*h, "txtContents");
    if (txtContents->toPlainText().isEmpty()) txtContents->setText(QStringLiteral("typed"));
    f.messages.setDefaultAnswer(yes ? MessageAnswer::Yes : MessageAnswer::No);

    QTest::mouseClick(control<QPushButton>(*h, "cmd削除"), Qt::LeftButton);

    QStringList texts{kDeleteQuestion};
    if (yes) texts << kDeleted;
    QCOMPARE(f.messages.texts(), texts);
    QCOMPARE(f.messages.shown().first().defaultButton, MessageBoxSpec::Default::No);
    QCOMPARE(txtContents->toPlainText(), textAfter);
    QCOMPARE(hints(f), stored);
}

void TestHint::clearThenCloseKeepsStoredHint()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('Velt', 'cmdHint', 'x', '残る')")});
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    QTest::mouseClick(control<QPushButton>(*h, "cmdクリア"), Qt::LeftButton);
    QCOMPARE(control<MultiLineEdit>(*h, "txtContents")->toPlainText(), QString());
    QTest::mouseClick(control<QPushButton>(*h, "cmd閉じる"), Qt::LeftButton);
    QTRY_VERIFY(!f.session.windows().find(QStringLiteral("Hint")));
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(hints(f), QStringList{"Velt|cmdHint|x|残る"});
}

void TestHint::failedStoreKeepsHint()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('Velt', 'cmdHint', 'x', '古い')"),
                      QStringLiteral("create trigger refuse before insert on KivHint begin select raise(abort, 'refused'); end")});
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    control<MultiLineEdit>(*h, "txtContents")->setText(QStringLiteral("新しい"));
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);

    // The old row's delete went back with the refused insert.
    QCOMPARE(hints(f), QStringList{"Velt|cmdHint|x|古い"});
    QCOMPARE(f.messages.shown().size(), 2);
    QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
    QVERIFY(f.messages.texts().last().startsWith(QStringLiteral("ヒントを登録できませんでした。")));
    QVERIFY(!f.messages.texts().contains(kStored));
    QCOMPARE(control<MultiLineEdit>(*h, "txtContents")->toPlainText(), QStringLiteral("新しい"));
}

void TestHint::windowWithoutKeyStoresNothing()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('', '', 'x', '空のキー')")});
    QVERIFY(f.open());
    // Opened without a key (not through the hint button).
    HintWindow h(f.session);
    QCOMPARE(control<QLabel>(h, "lblFormName")->text(), QString());
    QCOMPARE(control<MultiLineEdit>(h, "txtContents")->toPlainText(), QString());
    control<MultiLineEdit>(h, "txtContents")->setText(QStringLiteral("どこにも"));
    const QStringList before = hints(f);

    for (QPushButton* b : {control<QPushButton>(h, "cmd登録"), control<QPushButton>(h, "cmd削除")}) {
        f.messages.clear();
        QTest::mouseClick(b, Qt::LeftButton);
        // The question, then the failure: never the completion box.
        QCOMPARE(f.messages.shown().size(), 2);
        QCOMPARE(f.messages.shown().last().title, QStringLiteral("エラー"));
        QVERIFY(f.messages.texts().last().contains(QStringLiteral("キーがありません")));
    }
    QCOMPARE(hints(f), before);
    QCOMPARE(control<MultiLineEdit>(h, "txtContents")->toPlainText(), QStringLiteral("どこにも"));
}

void TestHint::busyWindowStartsNothing()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('Velt', 'cmdHint', 'x', '古い')")});
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    control<MultiLineEdit>(*h, "txtContents")->setText(QStringLiteral("新しい"));
    f.session.setOperationRunning(true);
    QTest::mouseClick(control<QPushButton>(*h, "cmd登録"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>(*h, "cmd削除"), Qt::LeftButton);
    QVERIFY(f.messages.shown().isEmpty());
    QCOMPARE(hints(f), QStringList{"Velt|cmdHint|x|古い"});
    QCOMPARE(control<MultiLineEdit>(*h, "txtContents")->toPlainText(), QStringLiteral("新しい"));
}

void TestHint::picture()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("insert into KivHint values ('Velt', 'cmdHint', 'x', "
                                     "'見積書の番号を入れて Enter を押すと、登録済みの見積書を開きます。' || char(13, 10) || "
                                     "'コード表で単位や納期の一覧を作れます。')")});
    QVERIFY(f.open());
    HintWindow* h = openHint(f);
    QVERIFY(h);
    QTest::mouseClick(control<QPushButton>(*h, "cmd編集"), Qt::LeftButton);
    const QImage image = h->grab().toImage();
    QVERIFY(!image.isNull());
    const QString dir = qEnvironmentVariable("VELT_SCREENSHOT_DIR");
    if (!dir.isEmpty()) QVERIFY(image.save(QDir(dir).filePath(QStringLiteral("hint.png"))));
    // The edit button is painted in its edit-mode colour (red), the others in
    // theirs (blue); the style shades them a little.
    const auto painted = [&](const char* button) {
        const QRect place = placeIn(*h, control<QPushButton>(*h, button));
        return image.pixelColor(place.center() + QPoint(0, place.height() / 3));
    };
    QVERIFY(painted("cmd編集").red() > painted("cmd編集").blue() + 0x40);
    QVERIFY(painted("cmd登録").blue() > painted("cmd登録").red() + 0x20);
    for (const char* name : {"txtContents", "cmd閉じる"})
        QVERIFY(h->rect().contains(placeIn(*h, control<QWidget>(*h, name))));
}

QTEST_MAIN(TestHint)
#include "tst_hint.moc"
