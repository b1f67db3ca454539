// Editing in the A4 and B5 print-settings windows: the rule colour from the
// colour dialog, the number boxes' ranges and refused numbers, pick-only
// lists; and what the window tells: the sample's marks where each setting
// prints, and margins that do not fit the paper.

#include "PrintSettingsWindowSupport.h"
#include "printing/PrintSettingsSample.h"
#include "printing/RptQuotationA4.h"
#include "printing/RptQuotationB5.h"

#include <QPushButton>

namespace {

// The A4 window opened over f and its number box of that name; nullptr when
// either is missing.
NumberBox* a4Box(SessionFixture& f, const QString& name)
{
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    return w ? w->findChild<NumberBox*>(name) : nullptr;
}

}  // namespace

class TestPrintSettingsEditing : public QObject {
    Q_OBJECT
private slots:
    void ruleColourFromTheDialog_data();
    void ruleColourFromTheDialog();
    void numberBoxesTakeTheirRanges_data();
    void numberBoxesTakeTheirRanges();
    void refusedNumberIsToldAndStopsTheSave_data();
    void refusedNumberIsToldAndStopsTheSave();
    void combosArePickOnly();
    void sampleMarksThePrintedPlaces_data();
    void sampleMarksThePrintedPlaces();
    void marginsThatDoNotFitAreTold_data();
    void marginsThatDoNotFitAreTold();
};

void TestPrintSettingsEditing::ruleColourFromTheDialog_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("typed");  // typed into num白紙罫線色 before the double-click; "" none
    QTest::addColumn<bool>("okWithoutPick");
    QTest::addColumn<std::optional<int>>("answer");
    QTest::addColumn<int>("start");  // the colour the dialog opens on
    QTest::addColumn<QString>("swatch");
    QTest::addColumn<QString>("stored");

    // The stored colour is R 0x20, G 0x40, B 0x60: 6307872 as a Windows colour value.
    for (const char* code : {"MA4", "MB5"}) {
        const auto row = [&](const char* what) -> QTestData& {
            return QTest::addRow("%s: %s", code, what) << QString::fromLatin1(code);
        };
        row("cancelled: nothing changes") << "" << false << std::optional<int>() << 6307872 << "#204060" << "6307872";
        row("OK without a pick: nothing changes") << "" << true << std::optional<int>() << 6307872 << "#204060"
                                                  << "6307872";
        row("pure red") << "" << false << std::optional<int>(255) << 6307872 << "#ff0000" << "255";
        row("white, the largest value") << "" << false << std::optional<int>(16777215) << 6307872 << "#ffffff"
                                        << "16777215";
        // A typed number is the colour that is saved: the dialog opens on it,
        // and OK without a pick brings the swatch to it.
        row("typed, then OK without a pick") << "65280" << true << std::optional<int>() << 65280 << "#00ff00"
                                             << "65280";
        row("typed, then cancelled") << "65280" << false << std::optional<int>() << 65280 << "#204060" << "65280";
    }
}

void TestPrintSettingsEditing::ruleColourFromTheDialog()
{
    QFETCH(QString, code);
    QFETCH(QString, typed);
    QFETCH(bool, okWithoutPick);
    QFETCH(std::optional<int>, answer);
    QFETCH(int, start);
    QFETCH(QString, swatch);
    QFETCH(QString, stored);
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET 白紙罫線色 = 6307872 WHERE 型番 = '%1'").arg(code)});
    QVERIFY(f.open());
    FakeColourDialog dialog;
    dialog.answer = answer;
    dialog.okWithoutPick = okWithoutPick;
    f.session.setDialogs(&dialog);
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    QCOMPARE(control<QLabel>(*w, "Pic罫線色")->palette().color(QPalette::Window).name(), QStringLiteral("#204060"));
    QCOMPARE(control<QLabel>(*w, "Pic罫線色")->toolTip(), QStringLiteral("ここをダブルクリックして色を指定"));
    if (!typed.isEmpty()) QVERIFY(control<NumberBox>(*w, "num白紙罫線色")->setTextValue(typed));

    QTest::mouseDClick(control<QLabel>(*w, "Pic罫線色"), Qt::LeftButton);
    QCOMPARE(dialog.calls, 1);
    QCOMPARE(dialog.startColour, start);
    QCOMPARE(control<QLabel>(*w, "Pic罫線色")->palette().color(QPalette::Window).name(), swatch);
    QCOMPARE(control<NumberBox>(*w, "num白紙罫線色")->value()->toPlainString(), stored);
    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(storedRows(f.data(), code).value(0).value("白紙罫線色"), stored);
    f.session.setDialogs(nullptr);
}

void TestPrintSettingsEditing::numberBoxesTakeTheirRanges_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("value");  // the value after typing; "refused" keeps the old one

    QTest::newRow("LM lowest") << "numLM" << "-99999" << "-99999";
    QTest::newRow("LM below") << "numLM" << "-100000" << "refused";
    QTest::newRow("TM highest") << "numTM" << "99999" << "99999";
    QTest::newRow("TM above") << "numTM" << "100000" << "refused";
    QTest::newRow("T1 fraction shown and kept whole") << "numT1" << "12.5" << "13";
    QTest::newRow("colour white") << "num白紙罫線色" << "16777215" << "16777215";
    QTest::newRow("colour beyond any colour") << "num白紙罫線色" << "16777216" << "refused";
    QTest::newRow("colour old maximum") << "num白紙罫線色" << "999999999" << "refused";
    QTest::newRow("colour negative") << "num白紙罫線色" << "-1" << "refused";
}

void TestPrintSettingsEditing::numberBoxesTakeTheirRanges()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, value);
    SessionFixture f;
    QVERIFY(f.open());
    NumberBox* b = a4Box(f, box);
    QVERIFY(b);
    const QString old = number(b);
    QCOMPARE(b->setTextValue(typed), value != "refused");
    QCOMPARE(number(b), value == "refused" ? old : value);
}

// A number a box refuses is told where it is typed, naming the field and
// what it takes; the 登録 pressed over it asks nothing and stores nothing.
void TestPrintSettingsEditing::refusedNumberIsToldAndStopsTheSave_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("LM letters") << "numLM" << "abc" << "レフトマージン(LM)には数字以外使用できません";
    QTest::newRow("TM too large") << "numTM" << "123456"
                                  << "トップマージン(TM)には -99,999 から 99,999 までの数を入力してください";
    QTest::newRow("T1 exponent") << "numT1" << "1e400" << "Ｔ1には数字以外使用できません";
    QTest::newRow("colour negative") << "num白紙罫線色" << "-5"
                                     << "白紙用紙の罫線の色には 0 から 16,777,215 までの数を入力してください";
}

void TestPrintSettingsEditing::refusedNumberIsToldAndStopsTheSave()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    SessionFixture f;
    QVERIFY(f.open());
    NumberBox* b = a4Box(f, box);
    QVERIFY(b);
    auto* w = qobject_cast<SetPrnWindow*>(b->window());
    QVERIFY(w);
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    const QString old = number(b);
    const auto stored = storedRows(f.data(), QStringLiteral("MA4"));
    b->setFocus();
    QTest::keyClicks(b, typed);
    f.messages.clear();
    QTest::mouseClick(control<QPushButton>(*w, "cmd登録"), Qt::LeftButton);

    QTRY_COMPARE(f.messages.texts(), QStringList{message});
    QCOMPARE(number(b), old);
    QCOMPARE(storedRows(f.data(), QStringLiteral("MA4")), stored);
}

void TestPrintSettingsEditing::combosArePickOnly()
{
    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET 自社名フォント = 'IPAGothic' WHERE 型番 = 'MA4'")});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, QStringLiteral("MA4"));
    QVERIFY(w);
    const QStringList before = shown(w);
    for (PickOnlyComboBox* c : fontBoxes(*w) + sizeBoxes(*w)) {
        QTest::keyClicks(c, QStringLiteral("x1"));
        QTest::keyClick(c, Qt::Key_Backspace);
    }
    for (PickOnlyComboBox* c : sizeBoxes(*w)) QTest::keyClick(c, Qt::Key_Delete);
    QCOMPARE(shown(w), before);

    // Delete in a font box takes the font away (stored as none).
    QTest::keyClick(control<PickOnlyComboBox>(*w, "cmb自社名フォント"), Qt::Key_Delete);
    QCOMPARE(control<PickOnlyComboBox>(*w, "cmb自社名フォント")->text(), QString());
    control<QPushButton>(*w, "cmd登録")->click();
    QCOMPARE(storedRows(f.data(), QStringLiteral("MA4")).value(0).value("自社名フォント"), QStringLiteral("NULL"));
}

void TestPrintSettingsEditing::sampleMarksThePrintedPlaces_data() { bothLayouts(); }

// The four frames on the sample surround the places where the layout prints
// the four text blocks, and no caption sits on another frame.
void TestPrintSettingsEditing::sampleMarksThePrintedPlaces()
{
    QFETCH(QString, code);
    SessionFixture f;
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    const bool b5 = code == QStringLiteral("MB5");
    const ReportLayout layout = b5 ? rpt見積書B5::designedLayout() : Rpt見積書A401::designedLayout();
    const QList<std::pair<SampleMark*, QStringList>> marks{
        {control<SampleMark>(*w, "Frame1"), {u"txt自社名"_qs}},
        {control<SampleMark>(*w, "Frame2"), {u"txt自社情報"_qs}},
        {control<SampleMark>(*w, "Frame3"), {b5 ? u"txt宛名情報"_qs : u"txt顧客情報"_qs}},
        {control<SampleMark>(*w, "Frame4"), {u"txt顧客名"_qs, u"txt敬称"_qs}},
    };
    const SamplePicture* picture = control<SamplePicture>(*w, "Picture1");
    const QRect page = picture->pageRect().toAlignedRect();
    for (const auto& [mark, controls] : marks) {
        QRectF printed;
        for (const QString& name : controls) printed |= picture->map(layout.find(name)->rect);
        const QRect outline = mark->outline();
        QVERIFY2(outline.contains(printed.toRect()), qPrintable(mark->caption()));
        QVERIFY2(printed.toAlignedRect().adjusted(-1, -1, 1, 1).contains(outline), qPrintable(mark->caption()));
        QVERIFY(page.contains(mark->captionRect()));
        for (const auto& [other, unused] : marks) {
            if (other == mark) continue;
            const QString pair = mark->caption() + QStringLiteral(" / ") + other->caption();
            QVERIFY2(!outline.intersects(other->outline()), qPrintable(pair));
            QVERIFY2(!mark->captionRect().intersects(other->outline()), qPrintable(pair));
            QVERIFY2(!mark->captionRect().intersects(other->captionRect()), qPrintable(pair));
        }
    }
}

void TestPrintSettingsEditing::marginsThatDoNotFitAreTold_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("lm");
    QTest::addColumn<int>("tm");
    QTest::addColumn<int>("printedLm");
    QTest::addColumn<int>("printedTm");
    QTest::newRow("A4: margins that fit") << "MA4" << 497 << 600 << 497 << 600;
    QTest::newRow("A4: LM 1440") << "MA4" << 1440 << 0 << 497 << 0;
    QTest::newRow("A4: TM 99999") << "MA4" << 0 << 99999 << 0 << 9325;
    QTest::newRow("A4: both beyond the paper's corner") << "MA4" << -99999 << -99999 << -792 << -800;
    QTest::newRow("B5: LM 1440, TM 20000") << "MB5" << 1440 << 20000 << 462 << 6035;
}

// A stored margin that would push the print off the paper (or leave a page no
// room for a row) is told under the margins, with the value the print holds
// it to; so is one typed, and the note goes when the margins fit.
void TestPrintSettingsEditing::marginsThatDoNotFitAreTold()
{
    QFETCH(QString, code);
    QFETCH(int, lm);
    QFETCH(int, tm);
    QFETCH(int, printedLm);
    QFETCH(int, printedTm);

    SessionFixture f;
    f.folder.prepare({QStringLiteral("UPDATE 印刷情報 SET LM = %1, TM = %2 WHERE 型番 = '%3'").arg(lm).arg(tm).arg(code)});
    QVERIFY(f.open());
    SetPrnWindow* w = openWindow(f, code);
    QVERIFY(w);
    QStringList expected;
    if (printedLm != lm)
        expected << QStringLiteral("LM %1 は用紙に収まらないため、印刷では %2 になります。").arg(lm).arg(printedLm);
    if (printedTm != tm)
        expected << QStringLiteral("TM %1 は用紙に収まらないため、印刷では %2 になります。").arg(tm).arg(printedTm);
    QCOMPARE(control<QLabel>(*w, "lblマージン注意")->text(), expected.join(u'\n'));

    // The print is where the note says: as with the values it names (the
    // widest box may end half a twip short of the paper's edge).
    PrintSettingsEntry given;
    given.LM = lm;
    given.TM = tm;
    PrintSettingsEntry held = given;
    held.LM = printedLm;
    held.TM = printedTm;
    const auto origin = [&](const PrintSettingsEntry& e) {
        if (code == u"MB5"_qs) return rpt見積書B5({}, e, f.session.設定情報).build({}).origin;
        return Rpt見積書A401({}, e, f.session.設定情報).build({}).origin;
    };
    const QPointF off = origin(given) - origin(held);
    QVERIFY2(std::abs(off.x()) < 1 && std::abs(off.y()) < 1, qPrintable(u"%1, %2"_qs.arg(off.x()).arg(off.y())));

    // Typed margins are told as well; ones that fit clear the note.
    control<NumberBox>(*w, "numLM")->setValue(Currency::fromWhole(50000));
    QVERIFY(control<QLabel>(*w, "lblマージン注意")->text().startsWith(u"LM 50000 は用紙に収まらないため"_qs));
    control<NumberBox>(*w, "numLM")->setValue(Currency::fromWhole(0));
    control<NumberBox>(*w, "numTM")->setValue(Currency::fromWhole(0));
    QCOMPARE(control<QLabel>(*w, "lblマージン注意")->text(), QString());
}

QTEST_MAIN(TestPrintSettingsEditing)
#include "tst_print_settings_editing.moc"
