#include "conversion/RowWriter.h"

#include <array>

namespace tablecopy {

RowWriter::RowWriter(Database& data, const CopyRule& rule, const QList<qsizetype>& fields, bool gather)
    : fields_(fields), gathering_(gather)
{
    QStringList sets, columns, marks;
    for (qsizetype i : fields_) {
        const QString c = Database::quoteIdent(rule.fields[i].column);
        sets << c + QStringLiteral(" = ?");
        columns << c;
        marks << QStringLiteral("?");
    }
    const QString table = Database::quoteIdent(rule.table);
    const QString values = QStringLiteral("(%1)").arg(marks.join(QStringLiteral(", ")));
    const QString insertSql = QStringLiteral("insert into %1 (%2) values ").arg(table, columns.join(QStringLiteral(", ")));
    update_.emplace(data, QStringLiteral("update %1 set %2 where rowid = ?").arg(table, sets.join(QStringLiteral(", "))));
    insert_.emplace(data, insertSql + values);
    if (gathering_) {
        QStringList rows;
        for (int r = 0; r < kBatch; ++r) rows << values;
        batch_.emplace(data, insertSql + rows.join(QStringLiteral(", ")));
        gathered_.reserve(kBatch);
    }
}

bool RowWriter::write(const Slots& values, std::optional<qint64>& rowid, Failure& error)
{
    if (!rowid && gathering_) {
        gathered_.push_back(values);
        for (qsizetype i : fields_) gathered_.back()[size_t(i)].keep();
        return int(gathered_.size()) < kBatch || flush(error);
    }
    const bool adding = !rowid;
    SqliteStatement& s = adding ? *insert_ : *update_;
    const Slots* row[] = {&values};
    if (!run(s, row, rowid, error)) return false;
    if (adding) rowid = s.lastInsertRowid();
    return true;
}

bool RowWriter::flush(Failure& error)
{
    if (gathered_.empty()) return true;
    bool ok = true;
    if (int(gathered_.size()) == kBatch) {
        std::array<const Slots*, kBatch> rows;
        for (int r = 0; r < kBatch; ++r) rows[size_t(r)] = &gathered_[size_t(r)];
        ok = run(*batch_, rows, std::nullopt, error);
    } else {
        for (const Slots& values : gathered_) {
            const Slots* row[] = {&values};
            if (!(ok = run(*insert_, row, std::nullopt, error))) break;
        }
    }
    gathered_.clear();
    return ok;
}

bool RowWriter::run(SqliteStatement& statement, std::span<const Slots* const> rows, std::optional<qint64> last,
                    Failure& error)
{
    int place = 0;
    bool ok = statement.reset();
    for (const Slots* values : rows)
        for (qsizetype i : fields_)
            ok = ok && statement.bind(++place, (*values)[size_t(i)]);
    if (last) ok = ok && statement.bind(++place, *last);
    ok = ok && statement.run();
    if (!ok) error = statement.error();
    return ok;
}

}  // namespace tablecopy
