#pragma once
// The message catalogue: every message box of the program. A caller names a
// category and a kind and hands over one text; the catalogue builds the
// wording, title, buttons, icon and default button, shows the box through the
// MessagePresenter and answers True only when a Yes/No question got Yes.
// Categories and kinds are matched exactly (no trimming, no width folding);
// an unknown category or kind shows nothing and answers False.

#include "MessagePresenter.h"

#include <QString>
#include <optional>

bool ShowMessage(const QString& category, const QString& kind, const QString& text);

// The category routines.
bool ShowEntryMessage(const QString& kind, const QString& text);    // "登録"
bool ShowDeleteMessage(const QString& kind, const QString& text);   // "削除"
bool ShowInputWarning(const QString& kind, const QString& text);    // "入力"
bool ConfirmPrint(const QString& kind, const QString& text);        // "印刷"
bool ShowGeneralMessage(const QString& kind, const QString& text);  // "その他"

// The box a (category, kind, text) shows, without showing it; nothing when the
// catalogue has no such entry.
std::optional<MessageBoxSpec> CatalogueEntry(const QString& category, const QString& kind, const QString& text);

// A failed write: ("その他", "失敗", what) shows what did not happen and the
// database's own words, so nothing failed is ever reported as done.
bool ShowFailure(const QString& what, const QString& detail);
