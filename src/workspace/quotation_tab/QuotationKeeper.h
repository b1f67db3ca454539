#pragma once
// Keeps the quotation on screen in the store: storing it (登録), loading the
// number committed in the header, deleting it (削除), copying it as a new
// quotation (転記) and the number counter. It works on the header panel's
// values and on the detail lines through the Lines hooks the tab gives it;
// its busy panel (CnEntryMsg) shows while it stores or loads.

#include "workspace/QuotationStore.h"

#include <QObject>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QPushButton;
class QWidget;
class HeaderPanel;
class MessageCatalog;
class Session;

class QuotationKeeper : public QObject {
    Q_OBJECT
public:
    // The detail lines and the rest of the screen, as the tab gives them.
    struct Lines {
        // The cell being edited reaches the lines; false when they refused it
        // (the failure box was shown).
        std::function<bool()> commitEdit;
        // The lines in line order; nothing (error set) when they cannot be read.
        std::function<std::optional<QList<QuotationLine>>(Failure* error)> read;
        // Replaces the lines; false (error set) when they cannot be written.
        std::function<bool(const QList<QuotationLine>& lines, Failure* error)> write;
        // The grid shows the lines anew. `loaded`: they are a stored
        // quotation's, just loaded: its totals are computed, its amount stays
        // the stored one until a quantity or price is typed.
        std::function<void(bool loaded)> show;
        // The focus into the detail grid.
        std::function<void()> focus;
        // The screen reset (Clear見積書).
        std::function<void(bool all)> clearScreen;
    };
    // The buttons are the tab's (placed in its row); the keeper handles them.
    // The busy panel is made on `page`.
    QuotationKeeper(Session& session, HeaderPanel& header, Lines lines, QPushButton* cmd登録, QPushButton* cmd削除,
                    QPushButton* cmd転記, QWidget* page);

    // ---- Storing, loading, deleting ------------------------------------------------
    void cmd登録_Click();
    bool EntryCheck();
    // Stores the quotation as the checks saw it.
    void Entry見積書(const QuotationRecord& quotation);
    void Read見積書();
    void Delete見積書();
    void cmd削除_Click();
    // The number into txtNo, committed, the grid focused (the history tab's open).
    void openNumber(const QString& number);

    // ---- Numbering -----------------------------------------------------------------
    // The counter 最大見積書番号: "Get" gives the number a new quotation takes,
    // "Set" raises the counter to value. Other items or modes give "".
    QVariant Proc管理(const QString& item, const QString& mode, const QVariant& value);
    void Tenki見積書();
    void cmd転記_Click();
    // The screen was reset: it holds a new quotation, not a stored one.
    void forgetLoadedNumber();
    // The stored quotations changed behind the screen (a data conversion): a
    // new quotation on screen (not one loaded from the store) whose number is
    // now stored takes the lowest free number from the counter's next one
    // on, so that storing it cannot replace the stored quotation. Nothing
    // else on screen changes; a number being typed (not yet committed with
    // Enter) is left as it is.
    void renewNumberIfStored();

private:
    const MessageCatalog& messages() const;
    // The question before storing: the usual confirmation, or, when the
    // number holds a stored quotation other than the one loaded, whether that
    // one is to be replaced (No by default). True to store.
    bool confirmStore(const QuotationRecord& quotation);
    // The quotation on screen: the header as shown and the lines; nothing
    // (error set) when the lines cannot be read.
    std::optional<QuotationRecord> screenQuotation(int number, Failure* error) const;

    Session& session_;
    HeaderPanel& header_;
    Lines lines_;
    // Busy panel
    QFrame* CnEntryMsg = nullptr;
    QLabel* EntryMsg = nullptr;
    // The number of the stored quotation on screen; nothing while the screen
    // holds a new quotation (reset, not found, or copied as new).
    std::optional<int> loadedNumber_;
};
