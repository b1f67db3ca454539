#include "platform/Controls.h"

#include <QSignalSpy>
#include <QtTest>

// A pick-only combo box changes its text only by a pick from its list, and
// reports a pick only when the entry really changed (a handler that proposes a
// default for the picked entry must not run on a key that moved nowhere).
class TestControls : public QObject {
    Q_OBJECT
private slots:
    void pickOnlyComboReportsRealPicksOnly_data();
    void pickOnlyComboReportsRealPicksOnly();
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

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
