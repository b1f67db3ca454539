#include "platform/Controls.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

// A pick-only combo box changes its text only by a pick from its list, and
// reports a pick only when the entry really changed (a handler that proposes a
// default for the picked entry must not run on a key that moved nowhere).
class TestControls : public QObject {
    Q_OBJECT
private slots:
    void pickOnlyComboReportsRealPicksOnly_data();
    void pickOnlyComboReportsRealPicksOnly();
    void numberBoxRefusesWhatItCannotHold_data();
    void numberBoxRefusesWhatItCannotHold();
};

void TestControls::pickOnlyComboReportsRealPicksOnly_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");  // what the box shows afterwards
    QTest::addColumn<int>("picks");
    QTest::newRow("down moves") << "A" << int(Qt::Key_Down) << "B" << 1;
    QTest::newRow("up moves") << "C" << int(Qt::Key_Up) << "B" << 1;
    QTest::newRow("down on the last entry") << "C" << int(Qt::Key_Down) << "C" << 0;
    QTest::newRow("up on the first entry") << "A" << int(Qt::Key_Up) << "A" << 0;
    QTest::newRow("home") << "B" << int(Qt::Key_Home) << "B" << 0;
    QTest::newRow("end") << "B" << int(Qt::Key_End) << "B" << 0;
    QTest::newRow("delete") << "B" << int(Qt::Key_Delete) << "B" << 0;
    QTest::newRow("backspace") << "B" << int(Qt::Key_Backspace) << "B" << 0;
    QTest::newRow("a letter") << "B" << int(Qt::Key_X) << "B" << 0;
}

void TestControls::pickOnlyComboReportsRealPicksOnly()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, picks);
    PickOnlyComboBox box;
    box.setItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    box.setText(start);
    box.show();
    QSignalSpy spy(&box, &PickOnlyComboBox::picked);
    QTest::keyClick(&box, Qt::Key(key));
    QCOMPARE(box.text(), text);
    QCOMPARE(spy.count(), picks);
}

// A number box refuses text it cannot hold as the user leaves it: it says so
// (refused) and keeps its old value. A button pressed over the refusal (the
// focus went to it) learns of it from commitTyped() once, and only while the
// focus stays there.
void TestControls::numberBoxRefusesWhatItCannotHold_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<qint64>("whole");  // the value afterwards
    QTest::newRow("letters") << "abc" << false << qint64(7);
    QTest::newRow("an exponent") << "1e400" << false << qint64(7);
    QTest::newRow("twenty digits") << "12345678901234567890" << false << qint64(7);
    QTest::newRow("above the range") << "100000" << false << qint64(7);
    QTest::newRow("below the range") << "-5" << false << qint64(7);
    QTest::newRow("within the range") << "99999" << true << qint64(99999);
}

void TestControls::numberBoxRefusesWhatItCannotHold()
{
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QFETCH(qint64, whole);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* box = new NumberBox;
    auto* button = new QPushButton(QStringLiteral("登録"));
    auto* other = new QLineEdit;
    for (QWidget* w : std::initializer_list<QWidget*>{box, button, other}) layout->addWidget(w);
    box->setDisplayFormat(QStringLiteral("####0"));
    box->setRange(Currency::fromWhole(0), Currency::fromWhole(99999));
    box->setValue(Currency::fromWhole(7));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy refused(box, &NumberBox::refused);

    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    button->setFocus();  // the press on the button takes the focus first

    QCOMPARE(refused.count(), taken ? 0 : 1);
    if (!taken) QCOMPARE(refused.first().first().toString(), typed);
    QCOMPARE(box->value(), std::optional<Currency>(Currency::fromWhole(whole)));
    QCOMPARE(box->text(), QString::number(whole));
    // The button's handler stops over a refusal; the next press goes on.
    QCOMPARE(box->commitTyped(), taken);
    QVERIFY(box->commitTyped());

    // Refused again; the focus moves on before any handler asks.
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("x"));
    button->setFocus();
    other->setFocus();
    QVERIFY(box->commitTyped());
    // Enter refuses in the box itself; the focus stays.
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("x"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(refused.count(), taken ? 2 : 3);
    QCOMPARE(box->value(), std::optional<Currency>(Currency::fromWhole(whole)));
}

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
