#include "conversion/TableOutcome.h"

#include <QSet>
#include <QStringList>
#include <algorithm>

namespace {

// Quotation numbers as the message names them: "伝票番号 7、295", the
// first few of a long list and the count of the rest.
QString numberList(const QList<qint64>& numbers)
{
    constexpr int kShown = 10;
    QStringList shown;
    for (qsizetype i = 0; i < numbers.size() && i < kShown; ++i) shown << QString::number(numbers[i]);
    QString text = QStringLiteral("伝票番号 ") + shown.join(QStringLiteral("、"));
    if (numbers.size() > kShown) text += QStringLiteral(" ほか%1件").arg(numbers.size() - kShown);
    return text;
}

QString reasonText(LeftOut why)
{
    switch (why) {
    case LeftOut::EmptyKey: return QStringLiteral("顧客名が空の明細がある");
    case LeftOut::BadKey: return QStringLiteral("キーを変換できない明細がある");
    case LeftOut::Conflict: return QStringLiteral("別の見積書が登録済みの番号");
    case LeftOut::NoHeader: return QStringLiteral("見積書ヘッダがない");
    case LeftOut::NoLines: return QStringLiteral("明細を読み込めない");
    }
    return {};
}

}  // namespace

bool TableOutcome::complete() const
{
    return !missing && failure.isEmpty() && emptyKeys == 0 && badKeys == 0 && badCodes == 0 && leftOut == 0 &&
           quotationsLeftOut.isEmpty() && refused == 0;
}

QString TableOutcome::summaryLine() const
{
    if (!failure.isEmpty()) {
        QString why = QString(failure.said).remove(QLatin1Char('\n'));
        if (why.endsWith(u'。')) why.chop(1);
        return QStringLiteral("%1：変換できませんでした%2。このテーブルは変更していません")
            .arg(table, why.isEmpty() ? QString() : QStringLiteral("（%1）").arg(why));
    }
    if (missing) return QStringLiteral("%1：旧データにテーブルがありません").arg(table);
    QString line = QStringLiteral("%1：読込 %2件、変換 %3件").arg(table).arg(read).arg(copied);
    if (emptyKeys) line += QStringLiteral("、キーが空のためスキップ %1件").arg(emptyKeys);
    if (badKeys) line += QStringLiteral("、キーを変換できないためスキップ %1件").arg(badKeys);
    if (badCodes) line += QStringLiteral("、コードが01～99以外のためスキップ %1件").arg(badCodes);
    if (leftOut) line += QStringLiteral("、変換しなかった見積書のためスキップ %1件").arg(leftOut);
    if (refused) line += QStringLiteral("、変換できない値 %1件（その項目は書き込んでいません）").arg(refused);
    return line;
}

QString ConversionMessage(const QList<TableOutcome>& outcomes)
{
    QString text = QStringLiteral("コンバートが終了しました");
    const bool complete = std::all_of(outcomes.cbegin(), outcomes.cend(), [](const TableOutcome& o) { return o.complete(); });
    if (complete) return text;
    text += QStringLiteral("\n\n変換できなかったデータがあります。\n");
    QStringList lines;
    QMap<LeftOut, QSet<qint64>> leftOut;
    for (const TableOutcome& o : outcomes) {
        lines << o.summaryLine();
        for (auto it = o.quotationsLeftOut.cbegin(); it != o.quotationsLeftOut.cend(); ++it)
            leftOut[it.key()].unite(QSet<qint64>(it.value().cbegin(), it.value().cend()));
    }
    if (!leftOut.isEmpty()) {
        lines << QString() << QStringLiteral("次の見積書はヘッダも明細も変換していません。");
        for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it) {
            QList<qint64> numbers(it.value().cbegin(), it.value().cend());
            std::sort(numbers.begin(), numbers.end());
            lines << reasonText(it.key()) + QStringLiteral("：") + numberList(numbers);
        }
    }
    return text + lines.join(QLatin1Char('\n'));
}
