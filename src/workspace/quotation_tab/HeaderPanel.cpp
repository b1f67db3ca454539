// The header panel: its controls and places (twips, relative to the tab page,
// where the panel sits at the top left), the number's Enter and stepping, and
// the header's values.

#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/CustomerPanel.h"
#include "workspace/Calculation.h"
#include "app/MessageCatalog.h"
#include "app/PrintSettings.h"
#include "app/QuotationPort.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "platform/Twips.h"

#include <QDate>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

// A stepped number as text: whole numbers without a decimal point.
QString steppedNumberText(double v)
{
    if (v == std::floor(v) && std::fabs(v) < 1e15) return QString::number(static_cast<qint64>(v));
    return QString::number(v, 'g', 15);
}

void placeLeftWidth(QWidget* w, double left, double width)
{
    w->setGeometry(twips(left), w->y(), twips(width), w->height());
}

}  // namespace

// ---------------------------------------------------------------- the panel

HeaderPanel::HeaderPanel(Session& session, QWidget* parent) : QWidget(parent), messages_(session.messages())
{
    setObjectName(QStringLiteral("Header"));
    // Up to the detail grid, which starts at 4080.
    setGeometry(twipsRect(0, 0, 12300, 4080));
    build(session);
    connectKeys();
    connect(cmd次伝票, &QPushButton::clicked, this, &HeaderPanel::cmd次伝票_Click);
    connect(cmd前伝票, &QPushButton::clicked, this, &HeaderPanel::cmd前伝票_Click);
    connect(cmdコード, &QPushButton::clicked, this, &HeaderPanel::codeListClicked);
    connect(cmd顧客マスタ, &QPushButton::clicked, this, &HeaderPanel::customerMasterClicked);
    connect(cmd商品, &QPushButton::clicked, this, &HeaderPanel::productMasterClicked);
    lbl自社名->installEventFilter(this);
    lbl自社情報->installEventFilter(this);
}

void HeaderPanel::build(Session& session)
{
    QWidget* p = this;
    using namespace ui;

    // ---- number, the frame's master buttons, date, customer
    label(p, QStringLiteral("見積番号"), 120, 120, 840);
    txtNo = make<QLineEdit>(p, QStringLiteral("txtNo"), 1020, 120, 1140, 330);
    txtNo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtNo->setAttribute(Qt::WA_InputMethodEnabled, false);
    cmd前伝票 = button(p, QStringLiteral("cmd前伝票"), QStringLiteral("前"), 2220, 120, 480, 330,
                       QStringLiteral("前伝票 : １つ前の伝票番号の伝票を表示します。"));
    cmd次伝票 = button(p, QStringLiteral("cmd次伝票"), QStringLiteral("次"), 2730, 120, 480, 330,
                       QStringLiteral("次伝票 : 次の伝票番号の伝票を表示します。"));

    cmd顧客マスタ = button(p, QStringLiteral("cmd顧客マスタ"), QStringLiteral("顧客"), 3420, 120, 840, 330,
                         QStringLiteral("顧客情報フォームを開きます"));
    cmd商品 = button(p, QStringLiteral("cmd商品"), QStringLiteral("商品"), 4290, 120, 840, 330,
                     QStringLiteral("商品情報フォームを開きます"));
    cmdコード = button(p, QStringLiteral("cmdコード"), QStringLiteral("コード"), 5160, 120, 840, 330,
                       QStringLiteral("コード登録フォームを開きます"));

    label(p, QStringLiteral("日付"), 8640, 120, 540);
    dt日付 = make<DateBox>(p, QStringLiteral("dt日付"), 9240, 120, 2235, 330);

    // The customer's rows, 540 to 1980, with their look-ups.
    customer_ = new CustomerPanel(session, p);

    label(p, QStringLiteral("件名"), 120, 2040, 840);
    txt件名 = make<QLineEdit>(p, QStringLiteral("txt件名"), 1020, 2040, 4830, 330);

    label(p, QStringLiteral("有効期限"), 120, 2430, 840);
    cmb有効期限 = make<TextComboBox>(p, QStringLiteral("cmb有効期限"), 1020, 2430, 2310, 330);
    label(p, QStringLiteral("支払条件"), 3450, 2430, 840);
    cmb支払条件 = make<TextComboBox>(p, QStringLiteral("cmb支払条件"), 4320, 2430, 2280, 330);
    label(p, QStringLiteral("受渡場所"), 120, 2820, 840);
    cmb受渡場所 = make<TextComboBox>(p, QStringLiteral("cmb受渡場所"), 1020, 2820, 2310, 330);
    label(p, QStringLiteral("納期"), 3450, 2820, 840);
    cmb納期 = make<TextComboBox>(p, QStringLiteral("cmb納期"), 4320, 2820, 2280, 330);

    // ---- totals
    lbl税抜計 = label(p, QStringLiteral("税抜計"), 120, 3210, 840, 330, QStringLiteral("lbl税抜計"));
    num税抜計 = make<NumberBox>(p, QStringLiteral("num税抜計"), 1020, 3210, 1500, 330);
    Lbl消費税 = label(p, QStringLiteral("消費税"), 2640, 3210, 720, 330, QStringLiteral("Lbl消費税"));
    num消費税 = make<NumberBox>(p, QStringLiteral("num消費税"), 3360, 3210, 1260, 330);
    lbl合計 = label(p, QStringLiteral("合計"), 4740, 3210, 480, 330, QStringLiteral("lbl合計"));
    num合計 = make<NumberBox>(p, QStringLiteral("num合計"), 5220, 3210, 1380, 330);
    lbl見積金額 = label(p, QStringLiteral("見積金額"), 120, 3660, 840, 330, QStringLiteral("lbl見積金額"));
    num見積金額 = make<NumberBox>(p, QStringLiteral("num見積金額"), 1020, 3600, 1980, 375);
    {
        QFont f = num見積金額->font();
        f.setBold(true);
        num見積金額->setFont(f);
    }
    for (NumberBox* b : {num税抜計, num消費税, num合計, num見積金額}) b->setDisplayFormat(QStringLiteral("#,###"));
    // A quotation amount or a date the box refuses is said, and stays to be corrected.
    num見積金額->setKeepRefusedText(true);
    ReportRefusedNumbers(num見積金額, QStringLiteral("見積金額"), session.messages());
    dt日付->setKeepRefusedText(true);
    const MessageCatalog& messages = session.messages();
    connect(
        dt日付, &DateBox::refused, this,
        [&messages] {
            messages.ShowMessage(QStringLiteral("入力"), QStringLiteral("必須入力なし"), QStringLiteral("正しい日付が"));
        },
        Qt::QueuedConnection);

    // ---- own company (double-click jumps to the settings tab)
    lbl自社名 = make<QLabel>(p, QStringLiteral("lbl自社名"), 6840, 540, 5280, 420);
    lbl自社情報 = make<QLabel>(p, QStringLiteral("lbl自社情報"), 6840, 990, 5280, 1230);
    lbl自社情報->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lbl自社名->setToolTip(QStringLiteral("ダブルクリックで設定画面を開きます"));
    lbl自社情報->setToolTip(QStringLiteral("ダブルクリックで設定画面を開きます"));

    // ---- memo
    label(p, QStringLiteral("メモ"), 6840, 2310, 840);
    txtメモ = make<MultiLineEdit>(p, QStringLiteral("txtメモ"), 6840, 2580, 2130, 1380);

    // ---- the four seal boxes (placed by applyLayout)
    for (int i = 0; i < 8; ++i) 印鑑Line[i] = make<LineWidget>(p, QStringLiteral("印鑑Line%1").arg(i + 1), 0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        // Sits between the seal box's top edge and the rule under the titles.
        txt印鑑[i] = make<QLineEdit>(p, QStringLiteral("txt印鑑(%1)").arg(i), 0, 0, 480, 225);
        txt印鑑[i]->setFrame(false);
        txt印鑑[i]->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; padding: 0; }"));
        txt印鑑[i]->setAlignment(Qt::AlignCenter);
    }
}

void HeaderPanel::connectKeys()
{
    // A typed number is committed by Enter alone. Leaving the box (Tab, a
    // click, a message box taking the focus) loads nothing, so nothing on
    // screen is replaced behind the user's back; a number put there from code
    // loads nothing by itself (setText clears isModified).
    KeyHook::install(txtNo, [this](int& key, Qt::KeyboardModifiers) {
        if (key != VKey::Enter) return;
        if (txtNo->isModified()) {
            txtNo->setModified(false);
            txtNo_Commit();
            // After the digits-only warning the box is empty and keeps the focus.
            if (txtNo->text().isEmpty()) {
                key = 0;
                return;
            }
        }
        txtNo_EnterKey(key);
    });

    // Enter moves through the header into the detail grid.
    connect(customer_, &CustomerPanel::nameEntered, this, [this] { emit leftHeader(true); });
    const QList<std::pair<QWidget*, QWidget*>> chain{
        {cmb有効期限, cmb支払条件}, {cmb支払条件, cmb受渡場所}, {cmb受渡場所, cmb納期}};
    for (const auto& [from, to] : chain) {
        QWidget* target = to;
        KeyHook::install(from, [target](int& key, Qt::KeyboardModifiers) {
            if (key == VKey::Enter) target->setFocus();
        });
    }
    KeyHook::install(cmb納期, [this](int& key, Qt::KeyboardModifiers) {
        if (key == VKey::Enter) emit leftHeader(false);
    });
}

bool HeaderPanel::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() == QEvent::MouseButtonDblClick && (o == lbl自社名 || o == lbl自社情報)) {
        emit(o == lbl自社名 ? ownNameDoubleClicked() : ownInfoDoubleClicked());
        return true;
    }
    return QWidget::eventFilter(o, e);
}

void HeaderPanel::applyLayout(bool era)
{
    if (era) {
        dt日付->setFormats(QStringLiteral("gggee年mm月dd日"), QStringLiteral("gggee年mm月"));
        placeLeftWidth(dt日付, 9240, 2235);
    } else {
        dt日付->setFormats(QStringLiteral("yyyy年mm月dd日"), QStringLiteral("yyyy年mm月"));
        placeLeftWidth(dt日付, 9610, 1755);
    }

    // The seal boxes: eight lines and four title boxes from two origins.
    const double ox = 3200, oy = 220;
    const double lines[8][4] = {
        // X1, X2, Y1, Y2
        {5900, 8270, 2700, 2700}, {5900, 8270, 3000, 3000}, {5900, 8280, 3460, 3460}, {5900, 5900, 2700, 3460},
        {6480, 6480, 2700, 3460}, {7080, 7080, 2700, 3480}, {7680, 7680, 2700, 3460}, {8260, 8260, 2700, 3480},
    };
    for (int i = 0; i < 8; ++i)
        印鑑Line[i]->setEnds(ox + lines[i][0], oy + lines[i][2], ox + lines[i][1], oy + lines[i][3]);
    const double sealLeft[4] = {6000, 6600, 7200, 7800};
    for (int i = 0; i < 4; ++i) txt印鑑[i]->move(twips(ox + sealLeft[i]), twips(oy + 2760));
}

void HeaderPanel::applyOwnCompanyFonts(const PrintSettingsEntry& a4)
{
    // Only what the entry names is set; the rest comes from the tab, so a
    // font or size no longer named goes back to the designed one.
    auto apply = [](QLabel* label, const QString& family, double size) {
        QFont f;
        if (!family.isEmpty()) f.setFamily(family);
        if (size > 0) f.setPointSizeF(size);
        label->setFont(f);
    };
    apply(lbl自社名, a4.自社名フォント, a4.自社名サイズ);
    apply(lbl自社情報, a4.自社情報フォント, a4.自社情報サイズ);
}

void HeaderPanel::showOwnCompany(const QString& name, const QString& info)
{
    lbl自社名->setText(name);
    lbl自社情報->setText(info);
}

void HeaderPanel::showHeader(const QuotationHeader& h)
{
    dt日付->setDate(h.日付);
    if (!dbv::isNull(h.顧客名)) customer_->setName(dbv::text(h.顧客名));
    if (!dbv::isNull(h.顧客情報)) customer_->setBlock(dbv::text(h.顧客情報));
    customer_->setHonorific(dbv::text(h.敬称));
    num消費税->setValue(h.消費税);
    num税抜計->setValue(h.税抜計);
    num合計->setValue(h.合計);
    num見積金額->setValue(h.見積金額);
    txtメモ->setText(dbv::text(h.メモ));
    txt件名->setText(dbv::text(h.件名));
    cmb有効期限->setText(dbv::text(h.有効期限));
    cmb支払条件->setText(dbv::text(h.支払条件));
    cmb受渡場所->setText(dbv::text(h.受渡場所));
    cmb納期->setText(dbv::text(h.納期));
    for (int i = 0; i < 4; ++i) txt印鑑[i]->setText(dbv::text(h.印鑑[i]));
}

QuotationHeader HeaderPanel::header() const
{
    QuotationHeader h;
    h.日付 = dt日付->date();
    h.顧客名 = customer_->name();
    h.顧客情報 = customer_->block();
    h.敬称 = customer_->honorific();
    h.メモ = dbv::textOrNull(txtメモ->text());
    h.件名 = dbv::textOrNull(txt件名->text());
    h.有効期限 = dbv::textOrNull(cmb有効期限->text());
    h.支払条件 = dbv::textOrNull(cmb支払条件->text());
    h.受渡場所 = dbv::textOrNull(cmb受渡場所->text());
    h.納期 = dbv::textOrNull(cmb納期->text());
    h.消費税 = num消費税->value();
    h.税抜計 = num税抜計->value();
    h.合計 = num合計->value();
    h.見積金額 = num見積金額->value();
    for (int i = 0; i < 4; ++i) h.印鑑[i] = txt印鑑[i]->text();
    return h;
}

void HeaderPanel::fillShown(ShownQuotation& q) const
{
    q.txtNo = txtNo->text();
    q.日付 = dt日付->date();
    q.日付表示 = dt日付->text();
    q.顧客名 = customer_->name();
    q.顧客情報 = customer_->block();
    q.件名 = txt件名->text();
    q.メモ = txtメモ->text();
    for (int i = 0; i < 4; ++i) q.印鑑[i] = txt印鑑[i]->text();
    q.有効期限 = cmb有効期限->text();
    q.支払条件 = cmb支払条件->text();
    q.受渡場所 = cmb受渡場所->text();
    q.納期 = cmb納期->text();
    q.敬称 = customer_->honorific();
    auto amount = [](const NumberBox* box) { return ShownQuotation::Amount{box->displayText(), box->value()}; };
    q.税抜計 = amount(num税抜計);
    q.消費税 = amount(num消費税);
    q.見積金額 = amount(num見積金額);
}

void HeaderPanel::showTotals(const CalcResult& r)
{
    num税抜計->setValue(r.税抜計);
    num消費税->setValue(r.消費税);
    num合計->setValue(r.合計);
    if (r.見積金額 == CalcResult::Amount::Empty)
        num見積金額->setNull();
    else if (r.見積金額 == CalcResult::Amount::FollowTotal)
        num見積金額->setValue(r.合計);
}

void HeaderPanel::reset(bool tax)
{
    num見積金額->setNull();
    num税抜計->setNull();
    num消費税->setNull();
    num合計->setNull();

    customer_->reset();
    txt件名->clear();
    cmb有効期限->setText(QString());
    cmb納期->setText(QString());
    cmb受渡場所->setText(QString());
    cmb支払条件->setText(QString());
    for (QLineEdit* seal : txt印鑑) seal->clear();
    txtメモ->setText(QString());

    for (QWidget* w : {static_cast<QWidget*>(Lbl消費税), static_cast<QWidget*>(lbl税抜計),
                       static_cast<QWidget*>(num税抜計), static_cast<QWidget*>(num消費税)})
        w->setEnabled(tax);

    dt日付->setDateText(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
}

void HeaderPanel::setSealTitles(const std::array<QString, 4>& titles)
{
    for (size_t i = 0; i < txt印鑑.size(); ++i) txt印鑑[i]->setText(titles[i]);
}

void HeaderPanel::setCodeList(CodeList list, const QStringList& entries)
{
    TextComboBox* const boxes[] = {cmb有効期限, cmb支払条件, cmb受渡場所, cmb納期};
    // The list is replaced; a text already typed into the box stays.
    boxes[static_cast<int>(list)]->setItems(entries);
}

void HeaderPanel::setCustomerNames(const QStringList& names)
{
    customer_->setNames(names);
}

QString HeaderPanel::numberText() const
{
    return txtNo->text();
}

void HeaderPanel::setNumberText(const QString& text)
{
    txtNo->setText(text);
}

bool HeaderPanel::numberBeingTyped() const
{
    return txtNo->isModified();
}

void HeaderPanel::setCustomerName(const QString& name)
{
    customer_->setName(name);
}

void HeaderPanel::setCustomerBlock(const QString& block)
{
    customer_->setBlock(block);
}

bool HeaderPanel::checkRequired(const std::function<void()>& tell)
{
    const bool noNumber = txtNo->text().isEmpty();
    const bool noDate = dt日付->isNull();
    if (!noNumber && !noDate && !customer_->name().isEmpty()) return true;
    tell();
    if (noNumber)
        txtNo->setFocus();
    else if (noDate)
        dt日付->lineEdit()->setFocus();
    else
        customer_->focusName();
    return false;
}

bool HeaderPanel::commitTyped()
{
    if (!dt日付->commitTyped()) {
        dt日付->setFocus();
        return false;
    }
    if (!num見積金額->commitTyped()) {
        num見積金額->setFocus();
        return false;
    }
    return true;
}

bool HeaderPanel::holdsUntakenText() const
{
    return dt日付->holdsUntakenText() || num見積金額->holdsUntakenText();
}

void HeaderPanel::focusNumber()
{
    txtNo->setFocus();
}

void HeaderPanel::focusCustomer()
{
    customer_->focusName();
}

void HeaderPanel::txtNo_EnterKey(int& key)
{
    if (key == VKey::Enter) customer_->focusName();
}

void HeaderPanel::txtNo_Commit()
{
    if (txtNo->text().isEmpty()) return;
    if (!ParseNumericText(txtNo->text())) {
        // Nothing is loaded: the lines on screen stay.
        messages_.ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), QStringLiteral("伝票番号"));
        txtNo->setText(QString());
        txtNo->setFocus();
        return;
    }
    emit numberCommitted();
}

void HeaderPanel::stepNumber(double step)
{
    const QString text = txtNo->text();
    if (text.isEmpty()) return;
    const auto value = ParseNumericText(text);
    if (!value) return;
    double v = *value + step;
    if (step < 0 && v < 1) v = 1;  // stepping back stops at 1
    txtNo->setText(steppedNumberText(v));
    emit numberCommitted();
    customer_->focusName();
}

void HeaderPanel::cmd次伝票_Click()
{
    stepNumber(1);
}

void HeaderPanel::cmd前伝票_Click()
{
    stepNumber(-1);
}
