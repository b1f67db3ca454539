#pragma once
// Japanese era dates. Qt has no Japanese calendar, so the eras are our own
// table (明治 .. 令和), with the start days the desktop's Japanese calendar uses.
//
// Format tokens (the date formats the settings give the date boxes):
//   yyyy  four-digit year      yy  two-digit year
//   mm    two-digit month      m   month
//   dd    two-digit day        d   day
//   ggg   era name ("令和")    gg  first letter of the era name ("令")
//   g     era initial ("R")
//   ee    two-digit era year   e   era year
// Anything else is copied as it stands.

#include <QDate>
#include <QString>
#include <optional>

namespace EraDate {

struct Era {
    QDate start;
    QString name;      // 令和
    QString initial;   // R
};

// The era of a date; nothing before 明治.
std::optional<Era> eraOf(const QDate& date);
int eraYear(const QDate& date);  // 1-based; 0 before 明治

QString format(const QDate& date, const QString& pattern);

// Reads a typed date: "20261209", "2026/12/9", "2026-12-09", "2026年12月9日",
// "令和8年12月9日", "令和 08年12月09日", "R8/12/9", "R08.12.09", "H31.4.30", also
// with full-width digits. Nothing for text that is no valid date (including an
// era year beyond that era's last day).
std::optional<QDate> parse(const QString& text);

}  // namespace EraDate
