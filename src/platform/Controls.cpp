#include "platform/Controls.h"

#include "platform/EraDate.h"
#include "platform/NumberFormat.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCalendarWidget>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

// ---------------------------------------------------------------- NumberBox

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    connect(this, &QLineEdit::returnPressed, this, &NumberBox::commitEdit);
}

void NumberBox::setValue(std::optional<Currency> v)
{
    const bool changed = v != value_;
    value_ = v;
    holdsRefused_ = false;  // a value set replaces a refused text
    showValue();
    if (changed) emit valueChanged();
}

QString NumberBox::displayText() const
{
    return value_ ? NumberFormat::format(*value_, format_) : QString();
}

void NumberBox::setDisplayFormat(const QString& pattern)
{
    format_ = pattern;
    showValue();
}

void NumberBox::setRange(std::optional<Currency> min, std::optional<Currency> max)
{
    min_ = min;
    max_ = max;
}

bool NumberBox::setTextValue(const QString& text)
{
    if (text.trimmed().isEmpty()) {
        setValue(std::nullopt);
        return true;
    }
    const auto v = Currency::parse(text);
    if (!v || (min_ && *v < *min_) || (max_ && *v > *max_)) return false;
    setValue(v);
    return true;
}

QString NumberBox::valueText() const
{
    if (editing_) return value_ ? value_->toPlainString() : QString();
    return displayText();
}

void NumberBox::showValue()
{
    if (!holdsRefused_) setText(valueText());
}

bool NumberBox::holdsUntakenText() const
{
    return text() != valueText();
}

bool NumberBox::commitEdit()
{
    if (!editing_ && !holdsRefused_) return true;
    const QString typed = text();
    if (setTextValue(typed)) return true;
    // Refused: the old value comes back, or the text stays to be corrected.
    if (keepRefused_)
        holdsRefused_ = true;
    else
        showValue();
    emit refused(typed);
    return false;
}

bool NumberBox::commitTyped()
{
    // Refused as the focus left for the button whose handler asks: said already.
    if (leave_.take()) return false;
    return commitEdit();
}

Currency NumberBox::minimum() const
{
    return min_ ? *min_ : Currency::fromRaw(std::numeric_limits<int64_t>::min());
}

Currency NumberBox::maximum() const
{
    return max_ ? *max_ : Currency::fromRaw(std::numeric_limits<int64_t>::max());
}

void NumberBox::focusInEvent(QFocusEvent* e)
{
    editing_ = true;
    showValue();
    QLineEdit::focusInEvent(e);
    selectAll();
}

void NumberBox::focusOutEvent(QFocusEvent* e)
{
    if (!commitEdit()) leave_.note(this);
    editing_ = false;
    showValue();
    QLineEdit::focusOutEvent(e);
}

// ---------------------------------------------------------------- DateBox

namespace {

class CalendarPopup : public QFrame {
public:
    CalendarPopup(QWidget* owner, const QDate& start, const QString& heading,
                  std::function<void(const QDate&)> picked)
        : QFrame(owner, Qt::Popup), heading_(heading), picked_(std::move(picked))
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setFrameShape(QFrame::StyledPanel);
        auto* v = new QVBoxLayout(this);
        v->setContentsMargins(4, 4, 4, 4);
        auto* bar = new QHBoxLayout;
        auto* prev = new QToolButton(this);
        prev->setArrowType(Qt::LeftArrow);
        auto* next = new QToolButton(this);
        next->setArrowType(Qt::RightArrow);
        title_ = new QLabel(this);
        title_->setAlignment(Qt::AlignCenter);
        bar->addWidget(prev);
        bar->addWidget(title_, 1);
        bar->addWidget(next);
        v->addLayout(bar);
        cal_ = new QCalendarWidget(this);
        cal_->setNavigationBarVisible(false);
        cal_->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        cal_->setSelectedDate(start);
        v->addWidget(cal_);
        QObject::connect(prev, &QToolButton::clicked, cal_, &QCalendarWidget::showPreviousMonth);
        QObject::connect(next, &QToolButton::clicked, cal_, &QCalendarWidget::showNextMonth);
        QObject::connect(cal_, &QCalendarWidget::currentPageChanged, this, [this](int, int) { updateTitle(); });
        QObject::connect(cal_, &QCalendarWidget::activated, this, [this](const QDate& d) {
            picked_(d);
            close();
        });
        QObject::connect(cal_, &QCalendarWidget::clicked, this, [this](const QDate& d) {
            picked_(d);
            close();
        });
        updateTitle();
    }

private:
    void updateTitle()
    {
        const QDate first(cal_->yearShown(), cal_->monthShown(), 1);
        title_->setText(EraDate::format(first, heading_));
    }

    QString heading_;
    std::function<void(const QDate&)> picked_;
    QCalendarWidget* cal_ = nullptr;
    QLabel* title_ = nullptr;
};

}  // namespace

DateBox::DateBox(QWidget* parent) : QWidget(parent)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("dateEdit"));
    edit_->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit_->installEventFilter(this);
    button_ = new QToolButton(this);
    button_->setText(QStringLiteral("▼"));
    button_->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(edit_);
    connect(button_, &QToolButton::clicked, this, &DateBox::openCalendar);
    connect(edit_, &QLineEdit::returnPressed, this, &DateBox::commitEdit);
}

void DateBox::resizeEvent(QResizeEvent*)
{
    const int b = height();
    edit_->setGeometry(0, 0, std::max(0, width() - b), height());
    button_->setGeometry(width() - b, 0, b, height());
}

void DateBox::setDate(std::optional<QDate> d)
{
    if (d && !d->isValid()) d.reset();
    const bool changed = d != date_;
    date_ = d;
    showDate();
    if (changed) emit dateChanged();
}

void DateBox::setDateText(const QString& yyyymmdd)
{
    if (yyyymmdd.isEmpty()) {
        setDate(std::nullopt);
        return;
    }
    const QDate d = QDate::fromString(yyyymmdd, QStringLiteral("yyyyMMdd"));
    setDate(d.isValid() ? std::optional<QDate>(d) : std::nullopt);
}

void DateBox::setFormats(const QString& editAndDisplay, const QString& calendarHeading)
{
    format_ = editAndDisplay;
    heading_ = calendarHeading;
    showDate();
}

QString DateBox::text() const
{
    return date_ ? EraDate::format(*date_, format_) : QString();
}

bool DateBox::setTextValue(const QString& t)
{
    if (t.trimmed().isEmpty()) {
        setDate(std::nullopt);
        return true;
    }
    const auto d = EraDate::parse(t);
    if (!d) return false;
    setDate(d);
    return true;
}

void DateBox::showDate()
{
    edit_->setText(text());
}

bool DateBox::holdsUntakenText() const
{
    return edit_->text() != text();
}

bool DateBox::commitEdit()
{
    const QString typed = edit_->text();
    if (typed == text()) return true;
    if (setTextValue(typed)) return true;
    // Refused: the old date comes back, or the text stays to be corrected.
    if (!keepRefused_) showDate();
    emit refused(typed);
    return false;
}

bool DateBox::commitTyped()
{
    // Refused as the focus left for the button whose handler asks: said already.
    if (leave_.take()) return false;
    return commitEdit();
}

bool DateBox::eventFilter(QObject* o, QEvent* e)
{
    if (o == edit_ && e->type() == QEvent::FocusOut && !commitEdit()) leave_.note(this);
    if (o == edit_ && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Down && (k->modifiers() & Qt::AltModifier)) {
            openCalendar();
            return true;
        }
    }
    return QWidget::eventFilter(o, e);
}

void DateBox::openCalendar()
{
    auto* popup = new CalendarPopup(this, date_.value_or(QDate::currentDate()), heading_,
                                    [this](const QDate& d) { setDate(d); });
    popup->adjustSize();
    popup->move(mapToGlobal(QPoint(0, height())));
    popup->show();
}

// ---------------------------------------------------------------- PickOnlyComboBox

PickOnlyComboBox::PickOnlyComboBox(QWidget* parent) : QComboBox(parent)
{
    // Editable only so that a stored text outside the list can be shown; the
    // line edit itself takes no typing.
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setReadOnly(true);
    lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QComboBox::activated, this, [this](int index) {
        setEditText(itemText(index));
        emit picked(itemText(index));
    });
}

void PickOnlyComboBox::setText(const QString& t)
{
    const int i = findText(t, Qt::MatchExactly);
    if (i >= 0) setCurrentIndex(i);
    setEditText(t);
}

void PickOnlyComboBox::setItems(const QStringList& items)
{
    const QString keep = currentText();
    const QSignalBlocker b(this);
    clear();
    addItems(items);
    setText(keep);
}

void PickOnlyComboBox::keyPressEvent(QKeyEvent* e)
{
    // Arrow keys and the list's own keys choose an entry; no character and no
    // Delete reaches the text.
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_F4:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        // A key that moves to another entry is reported by the box itself
        // (activated -> picked); a key that moves nowhere picks nothing.
        QComboBox::keyPressEvent(e);
        return;
    default:
        e->accept();  // swallowed
        return;
    }
}

void PickOnlyComboBox::inputMethodEvent(QInputMethodEvent* e)
{
    e->accept();  // an input-method commit is typing too
}

// ---------------------------------------------------------------- TextComboBox

TextComboBox::TextComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
}

void TextComboBox::setItems(const QStringList& items)
{
    const QString keep = currentText();
    const QSignalBlocker b(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(keep);
}

// ---------------------------------------------------------------- MultiLineEdit

MultiLineEdit::MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

QString MultiLineEdit::toStored(const QString& widgetText)
{
    QString t = widgetText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace('\r', '\n');
    t.replace('\n', QStringLiteral("\r\n"));
    return t;
}

QString MultiLineEdit::fromStored(const QString& storedText)
{
    QString t = storedText;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace('\r', '\n');
    return t;
}

QString MultiLineEdit::text() const
{
    return toStored(toPlainText());
}

void MultiLineEdit::setText(const QString& storedText)
{
    setPlainText(fromStored(storedText));
}

// ---------------------------------------------------------------- KeyHook

KeyHook::KeyHook(QWidget* w, Handler h) : QObject(w), handler_(std::move(h)) {}

KeyHook* KeyHook::install(QWidget* w, Handler handler)
{
    auto* hook = new KeyHook(w, std::move(handler));
    w->installEventFilter(hook);
    // An editable combo box gets its keys through its line edit.
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(hook);
    if (auto* date = qobject_cast<DateBox*>(w)) date->lineEdit()->installEventFilter(hook);
    return hook;
}

bool KeyHook::eventFilter(QObject* o, QEvent* e)
{
    if (e->type() != QEvent::KeyPress) return QObject::eventFilter(o, e);
    auto* k = static_cast<QKeyEvent*>(e);
    int key = VKey::fromQt(k->key());
    if (key == 0) return QObject::eventFilter(o, e);
    handler_(key, k->modifiers());
    if (key == 0) {
        e->accept();
        return true;
    }
    return QObject::eventFilter(o, e);
}

namespace VKey {
int fromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return Enter;
    case Qt::Key_Escape: return Escape;
    case Qt::Key_Delete: return Delete;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    default:
        if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // same codes
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
        if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
        if (qtKey == Qt::Key_Left) return 37;
        if (qtKey == Qt::Key_Up) return 38;
        if (qtKey == Qt::Key_Right) return 39;
        if (qtKey == Qt::Key_Down) return 40;
        return -1;  // a key with no code of its own: handlers pass it on
    }
}
}  // namespace VKey
