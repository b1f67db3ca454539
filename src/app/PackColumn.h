#pragma once
// The caption of the pack-quantity column.

#include <QString>

// Caption of the pack-quantity column from the 入数列タイトル setting:
// "" or "入数" -> "入　数", "規格" -> "規　格", any other text unchanged.
QString PackColumnCaption(const QString& title);
