#include "app/StartupChecks.h"

#include "app/Session.h"
#include "platform/Database.h"

namespace {

struct BoundTable {
    const char16_t* table;
    QStringList columns;  // in the order the windows address them
};

const QList<BoundTable>& boundTables()
{
    static const QList<BoundTable> tables{
        {u"w明細", {u"行番号"_qs, u"品名"_qs, u"商品区分"_qs, u"入数"_qs, u"数量"_qs, u"単位"_qs, u"単価"_qs, u"金額"_qs,
                   u"非課税"_qs, u"ふりがな"_qs, u"小計"_qs}},
        {u"w商品参照", {u"品名"_qs, u"商品区分"_qs, u"入数"_qs, u"単位"_qs, u"単価"_qs, u"非課税"_qs, u"ふりがな"_qs}},
        {u"w単位参照", {u"sname"_qs}},
        {u"w入数参照", {u"sname"_qs}},
        {u"w商品区分参照", {u"sname"_qs}},
        {u"w履歴リスト", {u"チェック"_qs, u"伝票番号"_qs, u"日付"_qs, u"顧客名"_qs, u"件名"_qs}},
    };
    return tables;
}

}  // namespace

std::optional<QString> CheckBoundWorkTables(Database& work)
{
    for (const BoundTable& t : boundTables()) {
        const QString table = QString::fromUtf16(t.table);
        const QStringList present = work.columns(table);
        if (present.isEmpty()) return QStringLiteral("テーブル %1 がありません。").arg(table);
        for (int i = 0; i < t.columns.size(); ++i) {
            if (i >= present.size() || present[i] != t.columns[i])
                return QStringLiteral("テーブル %1 に列 %2 がありません。").arg(table, t.columns[i]);
        }
    }
    return std::nullopt;
}

std::optional<StartupProblem> OpenDataFiles(Session& session)
{
    const struct {
        Database* db;
        QString path;
        Database::Role role;
    } files[] = {{&session.DataDb, session.DataDbPath(), Database::Role::Data},
                 {&session.WorkDb, session.WorkDbPath(), Database::Role::Work}};

    // Opening writes nothing; a file that cannot be opened ends the start-up
    // before the other one is touched.
    for (const auto& f : files) {
        if (!f.db->open(f.path, f.role, false)) {
            const QString error = f.db->lastError();
            session.DataDb.close();
            session.WorkDb.close();
            return StartupProblem{f.path, error};
        }
    }
    if (const auto missing = CheckBoundWorkTables(session.WorkDb)) {
        session.DataDb.close();
        session.WorkDb.close();
        return StartupProblem{session.WorkDbPath(), *missing};
    }
    // From here on the files are the program's: their journals are set.
    session.DataDb.configure();
    session.WorkDb.configure();
    return std::nullopt;
}
