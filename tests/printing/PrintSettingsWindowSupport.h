#pragma once
// The print-settings windows on a session over a fresh data folder, and what
// the tests read back: the controls as shown, the stored rows of 印刷情報.

#include "app/Dialogs.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "printing/PrintSettingsWindows.h"
#include "support/FindControl.h"
#include "support/SessionFixture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QtTest>

// What differs between the A4 and the B5 window.
struct Layout {
    QString code;
    QString window;
    QString caption;
    QString subject;
    QString helpKey;
};

inline Layout layoutOf(const QString& code)
{
    if (code == QStringLiteral("MB5"))
        return {code, QStringLiteral("SetPrnB5"), QStringLiteral("B5白紙"), QStringLiteral("B5白紙 伝票設定"), QStringLiteral("B5")};
    return {code, QStringLiteral("SetPrnA4"), QStringLiteral("A4白紙"), QStringLiteral("A4白紙 伝票設定"), QStringLiteral("A4")};
}

// The layout's window on the session alone, as the settings tab's button opens it.
inline SetPrnWindow* openWindow(SessionFixture& f, const QString& code)
{
    return f.openWindow<SetPrnWindow>(layoutOf(code).window, code);
}

// The layout's rows in rowid order, each column as SQLite quotes it: NULL, 14,
// 10.5, 'text' (so Null, '' and 14 against '14' all differ).
inline QList<QMap<QString, QString>> storedRows(Database& db, const QString& code)
{
    const QStringList columns = db.columns(QStringLiteral("印刷情報"));
    QStringList quoted;
    for (const QString& c : columns) quoted << QStringLiteral("quote(%1)").arg(Database::quoteIdent(c));
    QList<QMap<QString, QString>> out;
    for (const QSqlRecord& r : db.rows(QStringLiteral("SELECT %1 FROM 印刷情報 WHERE 型番 = ? ORDER BY rowid").arg(quoted.join(u',')), {code})) {
        QMap<QString, QString> row;
        for (int i = 0; i < columns.size(); ++i) row[columns[i]] = r.value(i).toString();
        out << row;
    }
    return out;
}

inline QString number(const NumberBox* b) { return b->value() ? b->value()->toPlainString() : QStringLiteral("<empty>"); }

// What the window shows, one "name=value" a control.
inline QStringList shown(const SetPrnWindow* w)
{
    const auto text = [w](const char* name) { return control<PickOnlyComboBox>(*w, name)->text(); };
    const auto tick = [w](const char* name) {
        return control<QCheckBox>(*w, name)->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    const auto value = [w](const char* name) { return number(control<NumberBox>(*w, name)); };
    return {
        "タイトル1=" + control<QLineEdit>(*w, "txtタイトル1")->text(),
        "LM=" + value("numLM"),
        "TM=" + value("numTM"),
        "T1=" + value("numT1"),
        "自社名=" + text("cmb自社名フォント") + "/" + text("cmb自社名サイズ") + "/" + tick("chk自社名太字"),
        "顧客名=" + text("cmb顧客名フォント") + "/" + text("cmb顧客名サイズ") + "/" + tick("chk顧客名太字"),
        "自社情報=" + text("cmb自社情報フォント") + "/" + text("cmb自社情報サイズ"),
        "顧客情報=" + text("cmb顧客情報フォント") + "/" + text("cmb顧客情報サイズ"),
        "自社情報印刷=" + tick("Chk自社情報印刷"),
        "白紙罫線色=" + value("num白紙罫線色"),
        "swatch=" + control<QLabel>(*w, "Pic罫線色")->palette().color(QPalette::Window).name(),
    };
}

// The four font lists and the four size lists of a window, each in the order
// 自社名, 顧客名, 自社情報, 顧客情報.
inline QList<PickOnlyComboBox*> fontBoxes(const SetPrnWindow& w)
{
    QList<PickOnlyComboBox*> out;
    for (const char* name : {"cmb自社名フォント", "cmb顧客名フォント", "cmb自社情報フォント", "cmb顧客情報フォント"})
        out << control<PickOnlyComboBox>(w, name);
    return out;
}

inline QList<PickOnlyComboBox*> sizeBoxes(const SetPrnWindow& w)
{
    QList<PickOnlyComboBox*> out;
    for (const char* name : {"cmb自社名サイズ", "cmb顧客名サイズ", "cmb自社情報サイズ", "cmb顧客情報サイズ"})
        out << control<PickOnlyComboBox>(w, name);
    return out;
}

// The colour dialog: answers with `answer` (nothing: cancelled), or, when told
// to, like OK pressed without a pick: with the colour it opened on.
class FakeColourDialog : public DialogProvider {
public:
    std::optional<int> answer;
    bool okWithoutPick = false;
    int calls = 0;
    int startColour = -1;
    QString openFile(QWidget*, const QString&, const QString&, const QStringList&, int) override { return {}; }
    std::optional<int> chooseColor(QWidget*, int start) override
    {
        ++calls;
        startColour = start;
        return okWithoutPick ? std::optional<int>(start) : answer;
    }
};

// One row per window: the layout code in the column "code".
inline void bothLayouts()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("A4") << "MA4";
    QTest::newRow("B5") << "MB5";
}
