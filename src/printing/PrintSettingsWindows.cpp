#include "printing/PrintSettingsWindows.h"

#include "app/PrintSettings.h"
#include "app/Session.h"
#include "app/Dialogs.h"
#include "app/UiBuild.h"
#include "printing/PrintSettingsSample.h"
#include "printing/QuotationReport.h"

#include <QFontDatabase>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QSqlRecord>

Q_LOGGING_CATEGORY(lcSetPrn, "velt.printsettings.window")

namespace {

// What differs between the A4 and the B5 window.
struct LayoutWindow {
    QString name;      // window name
    QString caption;
    QString helpKey;   // 専用伝票HELP.型番
    QString subject;   // subject of the save's messages
    const SampleSheet& sheet;
};

LayoutWindow layoutWindow(const QString& code)
{
    if (code == QStringLiteral("MB5"))
        return {QStringLiteral("SetPrnB5"), QStringLiteral("B5白紙"), QStringLiteral("B5"),
                QStringLiteral("B5白紙 伝票設定"), SampleSheet::b5()};
    return {QStringLiteral("SetPrnA4"), QStringLiteral("A4白紙"), QStringLiteral("A4"),
            QStringLiteral("A4白紙 伝票設定"), SampleSheet::a4()};
}

QStringList sizes(int from, int to, std::initializer_list<int> more = {})
{
    QStringList out;
    for (int i = from; i <= to; ++i) out << QString::number(i);
    for (int i : more) out << QString::number(i);
    return out;
}

const QStringList& largeSizes()
{
    static const QStringList list = sizes(9, 18, {20});
    return list;
}

const QStringList& smallSizes()
{
    static const QStringList list = sizes(8, 14);
    return list;
}

// A whole-number box of the window: its display format and the values it takes.
void wholeNumbers(NumberBox* box, const QString& format, qint64 min, qint64 max)
{
    box->setDisplayFormat(format);
    box->setRange(Currency::fromWhole(min), Currency::fromWhole(max));
    // The formats show no decimals, so the box holds none: a typed fraction is
    // rounded as it is shown.
    QObject::connect(box, &NumberBox::valueChanged, box, [box] {
        const auto v = box->value();
        if (v && !v->isWhole()) box->setValue(Currency::parse(v->toString(0, false)));
    });
}

// A stored number as the box's value; nothing for a value that is no number.
std::optional<Currency> storedNumber(const QVariant& v)
{
    return Currency::parse(v.toString());
}

// The box's value as it is stored: a whole number, or Null when empty.
QVariant numberToStore(const NumberBox* box)
{
    const auto v = box->value();
    return v ? QVariant::fromValue<qlonglong>(v->wholePart()) : QVariant();
}

bool isZero(const QVariant& v)
{
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok && d == 0;
}

}  // namespace

// ---------------------------------------------------------------- building

SetPrnWindow::SetPrnWindow(Session& session, const QString& layoutCode, QWidget* parent)
    : SecondaryWindow(layoutWindow(layoutCode).name, layoutWindow(layoutCode).caption, 12000, 8400, parent),
      session_(session),
      layoutCode_(layoutCode == QStringLiteral("MB5") ? layoutCode : QStringLiteral("MA4"))
{
    using namespace ui;
    imContainer3D1 = panel(this, QStringLiteral("imContainer3D1"), 60, 60, 11880, 8280);
    buildSample(imContainer3D1);

    Label25 = label(imContainer3D1, QStringLiteral("設定のヒント"), 5760, 5160, 3000, 300, QStringLiteral("Label25"));
    txtヘルプ = make<MultiLineEdit>(imContainer3D1, QStringLiteral("txtヘルプ"), 5760, 5460, 6000, 1920);
    txtヘルプ->setReadOnly(true);
    txtヘルプ->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtヘルプ->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    imContainer3D46 = panel(imContainer3D1, QStringLiteral("imContainer3D46"), 5760, 120, 6000, 4920);
    buildEditors(imContainer3D46);

    cmdクリア = button(imContainer3D1, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 5760, 7560, 1380, 450);
    cmd読込 = button(imContainer3D1, QStringLiteral("cmd読込"), QStringLiteral("読込"), 7260, 7560, 1380, 450);
    cmd登録 = button(imContainer3D1, QStringLiteral("cmd登録"), QStringLiteral("登録"), 8760, 7560, 1380, 450);
    cmd閉じる = button(imContainer3D1, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 10380, 7560, 1380, 450);

    connectHandlers();
    Form_Load();
}

QString SetPrnWindow::messageSubject() const { return layoutWindow(layoutCode_).subject; }

void SetPrnWindow::buildSample(QWidget* parent)
{
    Picture1 = new SamplePicture(layoutWindow(layoutCode_).sheet, parent);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsRect(120, 120, 5520, 8040));
    const SampleSheet& sheet = Picture1->sheet();

    // The four marked frames: where the four font settings act. A caption
    // goes on the edge away from the neighbouring frame.
    const auto frame = [&](const QString& name, const QString& caption, const QRectF& area, SampleMark::CaptionEdge edge) {
        auto* mark = new SampleMark(caption, Picture1->map(area).toAlignedRect(), edge, Picture1);
        mark->setObjectName(name);
        return mark;
    };
    using Edge = SampleMark::CaptionEdge;
    Frame1 = frame(QStringLiteral("Frame1"), QStringLiteral("自社名"), sheet.companyName, Edge::Top);
    Frame2 = frame(QStringLiteral("Frame2"), QStringLiteral("自社情報"), sheet.companyBlock, Edge::Bottom);
    Frame3 = frame(QStringLiteral("Frame3"), QStringLiteral("顧客情報"), sheet.customerBlock, Edge::Top);
    Frame4 = frame(QStringLiteral("Frame4"), QStringLiteral("顧客名"), sheet.customerName.united(sheet.honorific),
                   Edge::Bottom);

    QFont small = font();
    small.setPointSizeF(7.5);
    const auto marker = [&](const QString& name, const QString& caption) {
        auto* l = new QLabel(caption, Picture1);
        l->setObjectName(name);
        l->setFont(small);
        l->setStyleSheet(QStringLiteral("color: #d00000; background: transparent;"));
        l->adjustSize();
        return l;
    };
    // The title, left of it.
    Label9 = marker(QStringLiteral("Label9"), QStringLiteral("タイトル"));
    const QRectF title = Picture1->map(sheet.title);
    Label9->move(int(title.left()) - Label9->width() - 6, int(title.center().y() - Label9->height() / 2.0));
    // The margins: the top one above the base top margin, the left one with a
    // line across the base left margin.
    const QRectF page = Picture1->pageRect();
    const QPointF origin = Picture1->map(QPointF(0, 0));
    Label8 = marker(QStringLiteral("Label8"), QStringLiteral("TM"));
    Label8->move(int(origin.x()) + 4, int(page.top() + (origin.y() - page.top() - Label8->height()) / 2));
    Label2 = marker(QStringLiteral("Label2"), QStringLiteral("LM"));
    const double lineY = Picture1->map(QPointF(0, sheet.heading.bottom() + sheet.rowHeight * sheet.rows / 2)).y();
    Label2->move(int(page.left() + (origin.x() - page.left() - Label2->width()) / 2), int(lineY) - Label2->height() - 1);
    Line4 = new QFrame(Picture1);
    Line4->setObjectName(QStringLiteral("Line4"));
    Line4->setStyleSheet(QStringLiteral("background: #d00000;"));
    Line4->setGeometry(QRectF(QPointF(page.left(), lineY), QPointF(origin.x(), lineY + 1)).toAlignedRect());
}

void SetPrnWindow::buildEditors(QWidget* p)
{
    using namespace ui;
    label(p, QStringLiteral("タイトル"), 150, 180, 1400, 330, QStringLiteral("Label12"));
    txtタイトル1 = make<QLineEdit>(p, QStringLiteral("txtタイトル1"), 1560, 180, 4290, 330);

    label(p, QStringLiteral("レフトマージン(LM)"), 150, 600, 2000, 330, QStringLiteral("Label64"));
    numLM = make<NumberBox>(p, QStringLiteral("numLM"), 2160, 600, 1000, 330);
    label(p, QStringLiteral("Ｔ1"), 3480, 600, 560, 330, QStringLiteral("Label17"));
    numT1 = make<NumberBox>(p, QStringLiteral("numT1"), 4080, 600, 1000, 330);
    label(p, QStringLiteral("トップマージン(TM)"), 150, 1020, 2000, 330, QStringLiteral("Label65"));
    numTM = make<NumberBox>(p, QStringLiteral("numTM"), 2160, 1020, 1000, 330);
    for (NumberBox* b : {numLM, numTM, numT1}) wholeNumbers(b, QStringLiteral("####0"), -99999, 99999);
    // Under the margins: what a print does with one that does not fit.
    lblマージン注意 = label(p, QString(), 150, 1410, 5700, 480, QStringLiteral("lblマージン注意"));
    QFont small = lblマージン注意->font();
    small.setPointSizeF(8);
    lblマージン注意->setFont(small);
    lblマージン注意->setStyleSheet(QStringLiteral("color: #d00000;"));

    QLabel* fontHead = label(p, QStringLiteral("フォント"), 1560, 1920, 2700, 300, QStringLiteral("Label28"));
    QLabel* sizeHead = label(p, QStringLiteral("サイズ"), 4320, 1920, 780, 300, QStringLiteral("Label27"));
    fontHead->setAlignment(Qt::AlignCenter);
    sizeHead->setAlignment(Qt::AlignCenter);

    // One row per text block: caption, font, size and, for the names, the bold box.
    const auto row = [&](double top, const QString& captionName, const QString& caption, const QString& key,
                         PickOnlyComboBox*& fontBox, PickOnlyComboBox*& sizeBox) {
        label(p, caption, 150, top, 1400, 330, captionName);
        fontBox = make<PickOnlyComboBox>(p, QStringLiteral("cmb") + key + QStringLiteral("フォント"), 1560, top, 2700, 330);
        sizeBox = make<PickOnlyComboBox>(p, QStringLiteral("cmb") + key + QStringLiteral("サイズ"), 4320, top, 780, 330);
        fontBox->setMaxVisibleItems(20);
    };
    const auto bold = [&](double top, const QString& name, const QString& labelName) {
        QCheckBox* box = make<QCheckBox>(p, name, 5190, top + 45, 240, 240);
        label(p, QStringLiteral("太字"), 5460, top, 480, 330, labelName);
        return box;
    };
    row(2250, QStringLiteral("Label78"), QStringLiteral("自社名"), QStringLiteral("自社名"), cmb自社名フォント, cmb自社名サイズ);
    chk自社名太字 = bold(2250, QStringLiteral("chk自社名太字"), QStringLiteral("Label79"));
    row(2670, QStringLiteral("Label76"), QStringLiteral("顧客名"), QStringLiteral("顧客名"), cmb顧客名フォント, cmb顧客名サイズ);
    chk顧客名太字 = bold(2670, QStringLiteral("chk顧客名太字"), QStringLiteral("Label77"));
    row(3090, QStringLiteral("Label14"), QStringLiteral("自社情報"), QStringLiteral("自社情報"), cmb自社情報フォント, cmb自社情報サイズ);
    row(3510, QStringLiteral("Label13"), QStringLiteral("顧客情報"), QStringLiteral("顧客情報"), cmb顧客情報フォント, cmb顧客情報サイズ);

    label(p, QStringLiteral("自社情報印刷"), 150, 3990, 1400, 330, QStringLiteral("Label26"));
    Chk自社情報印刷 = make<QCheckBox>(p, QStringLiteral("Chk自社情報印刷"), 1560, 4035, 240, 240);

    label(p, QStringLiteral("白紙用紙の罫線の色"), 150, 4410, 2000, 330, QStringLiteral("Label24"));
    Pic罫線色 = make<QLabel>(p, QStringLiteral("Pic罫線色"), 2160, 4410, 900, 330);
    Pic罫線色->setFrameShape(QFrame::Box);
    Pic罫線色->setAutoFillBackground(true);
    Pic罫線色->setToolTip(QStringLiteral("ここをダブルクリックして色を指定"));
    num白紙罫線色 = make<NumberBox>(p, QStringLiteral("num白紙罫線色"), 3180, 4410, 1400, 330);
    // A Windows colour value: R + G·256 + B·65536.
    wholeNumbers(num白紙罫線色, QStringLiteral("#########"), 0, 0xFFFFFF);
    // Before anything is read the rule colour is black, as the prints take a missing one.
    num白紙罫線色->setValue(Currency::fromWhole(0));
    showRuleColour(0);
}

void SetPrnWindow::connectHandlers()
{
    connect(cmdクリア, &QPushButton::clicked, this, &SetPrnWindow::cmdクリア_Click);
    connect(cmd登録, &QPushButton::clicked, this, &SetPrnWindow::cmd登録_Click);
    connect(cmd読込, &QPushButton::clicked, this, &SetPrnWindow::cmd読込_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &SetPrnWindow::cmd閉じる_Click);
    Pic罫線色->installEventFilter(this);
    for (NumberBox* box : {numLM, numTM}) connect(box, &NumberBox::valueChanged, this, &SetPrnWindow::showPrintedMargins);
    // A number a box does not take is refused where it is typed, with a word.
    const MessageCatalog& messages = session_.messages();
    ReportRefusedNumbers(numLM, QStringLiteral("レフトマージン(LM)"), messages);
    ReportRefusedNumbers(numTM, QStringLiteral("トップマージン(TM)"), messages);
    ReportRefusedNumbers(numT1, QStringLiteral("Ｔ1"), messages);
    ReportRefusedNumbers(num白紙罫線色, QStringLiteral("白紙用紙の罫線の色"), messages);
    // The combos take no typing and the size boxes no Delete (PickOnlyComboBox);
    // Delete in a font box empties it, which stores the font as none.
    for (PickOnlyComboBox* box : {cmb自社名フォント, cmb顧客名フォント, cmb自社情報フォント, cmb顧客情報フォント}) {
        KeyHook::install(box, [box](int& key, Qt::KeyboardModifiers) {
            if (key != VKey::Delete) return;
            box->setText(QString());
            key = 0;
        });
    }
}

bool SetPrnWindow::eventFilter(QObject* o, QEvent* e)
{
    if (o == Pic罫線色 && e->type() == QEvent::MouseButtonDblClick) {
        Pic罫線色_DblClick();
        return true;
    }
    return SecondaryWindow::eventFilter(o, e);
}

void SetPrnWindow::showRuleColour(int colour)
{
    QPalette pal = Pic罫線色->palette();
    pal.setColor(QPalette::Window, ColourFromWindows(colour));
    Pic罫線色->setPalette(pal);
}

QStringList SetPrnWindow::InstalledFonts() { return QFontDatabase::families(); }

void SetPrnWindow::showPrintedMargins()
{
    // A margin that would push the print off the paper, or leave a page no
    // room for a row, is held by the print: say so, and to what.
    PrintSettingsEntry entry;
    entry.LM = static_cast<int>(numLM->value().value_or(Currency()).wholePart());
    entry.TM = static_cast<int>(numTM->value().value_or(Currency()).wholePart());
    const PrintedMarginOffsets printed = PrintedMargins(layoutCode_, entry, session_.設定情報);
    QStringList notes;
    const auto note = [&](const QString& name, int given, int used) {
        if (used != given)
            notes << QStringLiteral("%1 %2 は用紙に収まらないため、印刷では %3 になります。").arg(name).arg(given).arg(used);
    };
    note(QStringLiteral("LM"), entry.LM, printed.LM);
    note(QStringLiteral("TM"), entry.TM, printed.TM);
    lblマージン注意->setText(notes.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------- procedures

void SetPrnWindow::Form_Load()
{
    Clear印刷設定();
    Read印刷設定();
    txtヘルプ->setText(ReadFormHelpText(session_.WorkDb(), QStringLiteral("印刷設定"), layoutWindow(layoutCode_).helpKey));
}

void SetPrnWindow::Clear印刷設定()
{
    txtタイトル1->setText(QStringLiteral("見積書"));
    for (NumberBox* b : {numT1, numTM, numLM}) b->setValue(Currency::fromWhole(0));

    // The size lists with their presets shown.
    const struct {
        PickOnlyComboBox* box;
        const QStringList& items;
        const char16_t* preset;
    } sizeBoxes[] = {
        {cmb顧客名サイズ, largeSizes(), u"14"},
        {cmb自社名サイズ, largeSizes(), u"14"},
        {cmb顧客情報サイズ, smallSizes(), u"11"},
        {cmb自社情報サイズ, smallSizes(), u"11"},
    };
    for (const auto& s : sizeBoxes) {
        s.box->setItems(s.items);
        s.box->setText(QString::fromUtf16(s.preset));
    }

    chk顧客名太字->setChecked(false);
    chk自社名太字->setChecked(false);
    Chk自社情報印刷->setChecked(true);

    // The four font lists: the same names in the same order, texts empty.
    const QStringList fonts = InstalledFonts();
    for (PickOnlyComboBox* box : {cmb自社名フォント, cmb自社情報フォント, cmb顧客名フォント, cmb顧客情報フォント}) {
        box->setText(QString());
        box->setItems(fonts);
    }
    // The rule colour keeps what it shows.
}

void SetPrnWindow::Read印刷設定()
{
    bool ok = false;
    const auto row = session_.DataDb().firstRow(QStringLiteral("SELECT * FROM 印刷情報 WHERE 型番 = ? ORDER BY rowid LIMIT 1"),
                                              {layoutCode_}, &ok);
    if (!ok) qCWarning(lcSetPrn) << "print settings of" << layoutCode_ << "not read:" << session_.DataDb().lastError();
    if (!row) return;  // no row: every control keeps what it shows

    // Each column's rule for a stored Null and for a stored value.
    const auto column = [&](const char16_t* name, const std::function<void(const QVariant&)>& apply) {
        const int i = row->indexOf(QString::fromUtf16(name));
        if (i < 0) {
            qCWarning(lcSetPrn) << "印刷情報 has no column" << QString::fromUtf16(name);
            return;
        }
        apply(row->value(i));
    };
    const auto text = [](QLineEdit* box, const QString& whenNull) {
        return [box, whenNull](const QVariant& v) { box->setText(dbv::isNull(v) ? whenNull : v.toString()); };
    };
    const auto number = [](NumberBox* box) {
        return [box](const QVariant& v) {
            if (dbv::isNull(v)) {
                box->setValue(Currency::fromWhole(0));
            } else if (const auto n = storedNumber(v)) {
                box->setValue(n);
            } else {
                qCWarning(lcSetPrn) << box->objectName() << "not a number:" << v;
            }
        };
    };
    // A font not installed here (a name of another system) is shown as it is,
    // so that the next save writes it back unchanged.
    const auto fontName = [](PickOnlyComboBox* box) {
        return [box](const QVariant& v) { box->setText(dbv::text(v)); };
    };
    // A size as stored, also one outside the list; Null or 0 shows the default.
    const auto size = [](PickOnlyComboBox* box, const char16_t* whenNone) {
        return [box, whenNone](const QVariant& v) {
            box->setText(dbv::isNull(v) || isZero(v) ? QString::fromUtf16(whenNone) : v.toString());
        };
    };
    // Ticked only when the value is true; Null keeps the box (or ticks it).
    const auto yesNo = [](QCheckBox* box, std::optional<bool> whenNull) {
        return [box, whenNull](const QVariant& v) {
            if (!dbv::isNull(v))
                box->setChecked(dbv::toBool(v));
            else if (whenNull)
                box->setChecked(*whenNull);
        };
    };

    column(u"タイトル1", text(txtタイトル1, QStringLiteral("見積書")));
    column(u"LM", number(numLM));
    column(u"TM", number(numTM));
    column(u"T1", number(numT1));
    column(u"顧客名フォント", fontName(cmb顧客名フォント));
    column(u"顧客名サイズ", size(cmb顧客名サイズ, u"14"));
    column(u"顧客名太字", yesNo(chk顧客名太字, std::nullopt));
    column(u"顧客情報フォント", fontName(cmb顧客情報フォント));
    column(u"顧客情報サイズ", size(cmb顧客情報サイズ, u"12"));
    column(u"自社名フォント", fontName(cmb自社名フォント));
    column(u"自社名サイズ", size(cmb自社名サイズ, u"14"));
    column(u"自社名太字", yesNo(chk自社名太字, std::nullopt));
    column(u"自社情報フォント", fontName(cmb自社情報フォント));
    column(u"自社情報サイズ", size(cmb自社情報サイズ, u"12"));
    column(u"自社情報印刷", yesNo(Chk自社情報印刷, true));
    column(u"白紙罫線色", [this](const QVariant& v) {
        if (dbv::isNull(v)) return;  // swatch and number keep what they show
        const auto n = storedNumber(v);
        if (!n) {
            qCWarning(lcSetPrn) << "白紙罫線色 not a number:" << v;
            return;
        }
        showRuleColour(static_cast<int>(n->wholePart()));
        num白紙罫線色->setValue(n);
    });
}

bool SetPrnWindow::Entry印刷設定()
{
    MessageCatalog& messages = session_.messages();
    const QString subject = messageSubject();
    if (!messages.ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), subject)) return false;

    const auto fontName = [](const PickOnlyComboBox* box) { return dbv::textOrNull(box->text()); };
    const auto size = [](const PickOnlyComboBox* box, int whenEmpty) {
        return box->text().isEmpty() ? QVariant(whenEmpty) : QVariant(box->text());
    };
    const auto checked = [](const QCheckBox* box) { return dbv::fromBool(box->isChecked()); };
    // The 17 columns, in the order they are written.
    const Fields values{
        {QStringLiteral("型番"), layoutCode_},
        {QStringLiteral("タイトル1"), txtタイトル1->text()},
        {QStringLiteral("TM"), numberToStore(numTM)},
        {QStringLiteral("LM"), numberToStore(numLM)},
        {QStringLiteral("自社名フォント"), fontName(cmb自社名フォント)},
        {QStringLiteral("自社名サイズ"), size(cmb自社名サイズ, 14)},
        {QStringLiteral("自社名太字"), checked(chk自社名太字)},
        {QStringLiteral("顧客名フォント"), fontName(cmb顧客名フォント)},
        {QStringLiteral("顧客名サイズ"), size(cmb顧客名サイズ, 14)},
        {QStringLiteral("顧客名太字"), checked(chk顧客名太字)},
        {QStringLiteral("顧客情報サイズ"), size(cmb顧客情報サイズ, 11)},
        {QStringLiteral("顧客情報フォント"), fontName(cmb顧客情報フォント)},
        {QStringLiteral("自社情報フォント"), fontName(cmb自社情報フォント)},
        {QStringLiteral("自社情報サイズ"), size(cmb自社情報サイズ, 12)},
        {QStringLiteral("T1"), numT1->isNull() ? QVariant(0) : numberToStore(numT1)},
        {QStringLiteral("自社情報印刷"), checked(Chk自社情報印刷)},
        {QStringLiteral("白紙罫線色"), numberToStore(num白紙罫線色)},
    };

    // The first row of the layout is edited, or one is added; all or nothing.
    Database& db = session_.DataDb();
    bool written = false;
    {
        Transaction tx(db);
        written = tx.started() &&
                  db.upsert(QStringLiteral("印刷情報"), {{QStringLiteral("型番"), layoutCode_}}, values) && tx.commit();
    }
    if (!written) {
        messages.ShowFailure(subject + QStringLiteral(" を登録できませんでした。"), db.lastError());
        return false;
    }
    messages.ShowMessage(QStringLiteral("登録"), QStringLiteral("完了"), subject);
    return true;
}

// ---------------------------------------------------------------- handlers

void SetPrnWindow::cmdクリア_Click() { Clear印刷設定(); }

void SetPrnWindow::cmd登録_Click()
{
    // A refused number stops the save before it asks (its warning shows).
    bool typedOk = true;
    for (NumberBox* box : {numLM, numTM, numT1, num白紙罫線色}) typedOk = box->commitTyped() && typedOk;
    if (!typedOk) return;
    Entry印刷設定();
    // Whatever the answer, the stored row is what the next print uses.
    emit printSettingsRead(session_.reloadPrintSettings(layoutCode_));
}

void SetPrnWindow::cmd読込_Click() { Read印刷設定(); }

void SetPrnWindow::cmd閉じる_Click() { close(); }

void SetPrnWindow::Pic罫線色_DblClick()
{
    // The dialog opens on the rule colour as it stands: the number that is
    // saved and printed when it holds a colour, else the swatch. So OK without
    // a pick keeps that colour.
    const std::optional<Currency> number = num白紙罫線色->value();
    const bool numberIsColour =
        number && number->isWhole() && number->wholePart() >= 0 && number->wholePart() <= 0xFFFFFF;
    const int current = numberIsColour ? static_cast<int>(number->wholePart())
                                       : WindowsColour(Pic罫線色->palette().color(QPalette::Window));
    const int colour = ShowColorDialog(session_, this, current);
    if (colour == -1) return;
    showRuleColour(colour);
    num白紙罫線色->setValue(Currency::fromWhole(colour));
}
