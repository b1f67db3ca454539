#pragma once
// Input controls of the windows:
//   NumberBox      a number box that can be empty (Null) and shows its value in a display format
//   DateBox        a date box that can be empty, with Japanese era formats and a calendar
//   PickOnlyComboBox  a combo box whose text changes only by a pick from its list;
//                  it still shows a stored text that is not in the list
//   TextComboBox   an editable combo box whose list can be refilled without losing the typed text
//   MultiLineEdit  a text box of several lines; stored text uses CR LF between lines
//   KeyHook        key-down handlers that may swallow a key by setting it to 0

#include "platform/Currency.h"
#include "platform/RefusalOnLeave.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class QToolButton;

// Typed text the box does not take (no number, or a number out of its range)
// is refused as the user leaves the box or presses Enter: the box sends
// refused() and shows its old value again (or, with setKeepRefusedText, keeps
// showing the refused text for correction until it is corrected or a value is
// set); nothing is stored in its place. A handler that reads the box calls
// commitTyped() first and stops when it returns false: also when the text was
// refused as the focus left the box for the button whose handler now runs, as
// long as the focus stayed there.
class NumberBox : public QLineEdit {
    Q_OBJECT
public:
    explicit NumberBox(QWidget* parent = nullptr);

    std::optional<Currency> value() const { return value_; }
    bool isNull() const { return !value_.has_value(); }
    void setValue(std::optional<Currency> v);
    void setNull() { setValue(std::nullopt); }

    // "" when empty, else the value in the display format.
    QString displayText() const;
    void setDisplayFormat(const QString& pattern);
    QString displayFormat() const { return format_; }
    void setRange(std::optional<Currency> min, std::optional<Currency> max);

    // Takes typed text as the user would: "" empties the box, a number within
    // the range becomes the value; anything else is refused (false, value unchanged).
    bool setTextValue(const QString& text);

    // Takes the text being typed. False when it was refused now, or when it
    // was refused as the focus left the box and the focus is still where it
    // went (see above); true otherwise. A kept refused text is tried again.
    bool commitTyped();
    // Refused text stays shown for correction instead of the old value.
    void setKeepRefusedText(bool keep) { keepRefused_ = keep; }
    // The box shows text that is not its value: typed and not yet taken, or
    // refused and kept.
    bool holdsUntakenText() const;
    // The values the box takes: its range, within what a Currency holds.
    Currency minimum() const;
    Currency maximum() const;

signals:
    void valueChanged();
    // The user's text that the box refused; the value stayed as it was.
    void refused(const QString& text);

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool commitEdit();
    void showValue();
    // The value as the box shows it now (plain while it is being edited).
    QString valueText() const;

    std::optional<Currency> value_;
    std::optional<Currency> min_;
    std::optional<Currency> max_;
    QString format_ = QStringLiteral("#,###");
    bool editing_ = false;
    bool keepRefused_ = false;
    bool holdsRefused_ = false;  // the refused text is shown, kept for correction
    RefusalOnLeave leave_;
};

class DateBox : public QWidget {
    Q_OBJECT
public:
    explicit DateBox(QWidget* parent = nullptr);

    std::optional<QDate> date() const { return date_; }
    bool isNull() const { return !date_.has_value(); }
    void setDate(std::optional<QDate> d);
    void setNull() { setDate(std::nullopt); }
    // A date handed to the box as eight digits "yyyymmdd"; "" empties it.
    void setDateText(const QString& yyyymmdd);

    void setFormats(const QString& editAndDisplay, const QString& calendarHeading);
    QString displayFormat() const { return format_; }
    QString headingFormat() const { return heading_; }
    // The date as shown ("" when empty).
    QString text() const;
    QLineEdit* lineEdit() const { return edit_; }
    // Takes typed text: "" empties the box; a date in any accepted spelling becomes
    // the value; anything else is refused (false, date unchanged).
    bool setTextValue(const QString& text);

    // Typed text that is no date is refused as the user leaves the box or
    // presses Enter: refused() is sent and the old date shown again, or the
    // refused text stays for correction with setKeepRefusedText. commitTyped()
    // works as the number box's does.
    void setKeepRefusedText(bool keep) { keepRefused_ = keep; }
    bool commitTyped();
    // The box shows text that is not its date (typed, or refused and kept).
    bool holdsUntakenText() const;

signals:
    void dateChanged();
    // The user's text that the box refused; the date stayed as it was.
    void refused(const QString& text);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    bool commitEdit();
    void showDate();
    void openCalendar();

    QLineEdit* edit_ = nullptr;
    QToolButton* button_ = nullptr;
    bool keepRefused_ = false;
    RefusalOnLeave leave_;
    std::optional<QDate> date_;
    QString format_ = QStringLiteral("yyyy/mm/dd");
    QString heading_ = QStringLiteral("yyyy年mm月");
};

class PickOnlyComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit PickOnlyComboBox(QWidget* parent = nullptr);
    QString text() const { return currentText(); }
    // Shows any text, also one that is not in the list.
    void setText(const QString& t);
    // Replaces the list; the shown text stays.
    void setItems(const QStringList& items);

signals:
    // The user picked an entry from the list (not set from code).
    void picked(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
};

class TextComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TextComboBox(QWidget* parent = nullptr);
    QString text() const { return currentText(); }
    void setText(const QString& t) { setEditText(t); }
    // Replaces the list; the typed text stays.
    void setItems(const QStringList& items);
};

class MultiLineEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MultiLineEdit(QWidget* parent = nullptr);
    // Text with CR LF between lines, as it is stored.
    QString text() const;
    void setText(const QString& storedText);

    static QString toStored(const QString& widgetText);
    static QString fromStored(const QString& storedText);
};

// Key-down handler on a widget: handler(key) runs before the widget sees the
// key; setting key to 0 swallows it.
class KeyHook : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int& key, Qt::KeyboardModifiers mods)>;
    static KeyHook* install(QWidget* w, Handler handler);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    KeyHook(QWidget* w, Handler h);
    Handler handler_;
};

// Key codes as key-down handlers see them: the Windows virtual-key codes.
namespace VKey {
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Delete = 46;
int fromQt(int qtKey);
}  // namespace VKey
