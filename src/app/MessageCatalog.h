#pragma once
// The message catalogue: every message box of the program. A caller names a
// category and a kind and hands over one text; the catalogue builds the
// wording, title, buttons, icon and default button, shows the box through its
// MessagePresenter and answers True only when a Yes/No question got Yes.
// Categories and kinds are matched exactly (no trimming, no width folding);
// an unknown category or kind shows nothing and answers False.
// A value set into a wording (a name, a subject) is shortened to its first
// characters (ShortValue), so that no box grows past the screen.
//
// The session owns one catalogue; its presenter shows real message boxes
// unless a test gives it a recording one.

#include "platform/Currency.h"
#include "platform/Failure.h"
#include "platform/MessagePresenter.h"

#include <QString>
#include <optional>

class NumberBox;

class MessageCatalog {
public:
    // presenter nullptr: real message boxes.
    explicit MessageCatalog(MessagePresenter* presenter = nullptr);
    // nullptr restores real message boxes.
    void setPresenter(MessagePresenter* presenter);
    MessagePresenter& presenter() const { return *presenter_; }

    bool ShowMessage(const QString& category, const QString& kind, const QString& text) const;

    // The category routines.
    bool ShowEntryMessage(const QString& kind, const QString& text) const;    // "登録"
    bool ShowDeleteMessage(const QString& kind, const QString& text) const;   // "削除"
    bool ShowInputWarning(const QString& kind, const QString& text) const;    // "入力"
    bool ConfirmPrint(const QString& kind, const QString& text) const;        // "印刷"
    bool ShowGeneralMessage(const QString& kind, const QString& text) const;  // "その他"

    // A failed write: ("その他", "失敗", what) shows what did not happen, so
    // nothing failed is ever reported as done. What the failure says (the
    // program's own words and the reason) follows whole in the text; the
    // engine's words go to the box's details.
    bool ShowFailure(const QString& what, const Failure& why) const;

    // The box of a catalogue entry with words for its details (the engine's,
    // the loader's); nothing shown, false, for an entry the catalogue lacks.
    bool ShowWithDetails(const QString& category, const QString& kind, const QString& text,
                         const QString& details) const;

    // A number typed into a box that the box refused, named by its field:
    // text that is no number gets the digits-only warning ("単価には数字以外使用
    // できません"), a number the box cannot hold the range it takes.
    void ShowRefusedNumber(const QString& field, const QString& typed, Currency min, Currency max) const;

    // The first kMaxValueLength characters of a value and "…" when it is
    // longer, cut before a line break; a value set into a message text.
    static constexpr int kMaxValueLength = 40;
    static QString ShortValue(const QString& value);

    // Shows a box that is not in the catalogue (the start-up error box).
    void show(const MessageBoxSpec& spec) const { presenter_->show(spec); }

    // The box a (category, kind, text) shows, without showing it; nothing when
    // the catalogue has no such entry.
    static std::optional<MessageBoxSpec> CatalogueEntry(const QString& category, const QString& kind,
                                                        const QString& text);

private:
    bool present(const std::optional<MessageBoxSpec>& spec) const;

    QMessageBoxPresenter boxes_;
    MessagePresenter* presenter_ = nullptr;
};

// Shows ShowRefusedNumber for every text the box refuses (once the box has
// finished with the focus change that refused it).
void ReportRefusedNumbers(NumberBox* box, const QString& field, const MessageCatalog& messages);
