#include "app/StartupChecks.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

QList<RequiredTable> dataTables()
{
    QList<RequiredTable> out;
    for (const char16_t* t : {u"見積書ヘッダ", u"見積書", u"顧客マスタ", u"商品マスタ", u"コードマスタ", u"自社情報",
                              u"印刷情報", u"KivHint"})
        out.append({QString::fromUtf16(t), {}});
    return out;
}

QList<RequiredTable> workTables()
{
    // First the tables the quotation and history tabs bind their grids to,
    // with their columns; then the rest, read and written by name.
    QList<RequiredTable> out{
        {u"w明細"_qs, {u"行番号"_qs, u"品名"_qs, u"商品区分"_qs, u"入数"_qs, u"数量"_qs, u"単位"_qs, u"単価"_qs, u"金額"_qs,
                      u"非課税"_qs, u"ふりがな"_qs, u"小計"_qs}},
        {u"w商品参照"_qs, {u"品名"_qs, u"商品区分"_qs, u"入数"_qs, u"単位"_qs, u"単価"_qs, u"非課税"_qs, u"ふりがな"_qs}},
        {u"w単位参照"_qs, {u"sname"_qs}},
        {u"w入数参照"_qs, {u"sname"_qs}},
        {u"w商品区分参照"_qs, {u"sname"_qs}},
        {u"w履歴リスト"_qs, {u"チェック"_qs, u"伝票番号"_qs, u"日付"_qs, u"顧客名"_qs, u"件名"_qs}},
    };
    for (const char16_t* t : {u"w明細ソート", u"wコードマスタ", u"wコードマスタソート", u"w顧客マスタ", u"w商品マスタ",
                              u"専用伝票HELP", u"テーブル更新情報", u"更新テーブル名"})
        out.append({QString::fromUtf16(t), {}});
    return out;
}

// Writing needs the file itself and, for SQLite's journal beside it, the folder.
bool canWriteFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() && info.isExecutable();
}

}  // namespace

const QList<RequiredTable>& RequiredTables(Database::Role file)
{
    static const QList<RequiredTable> data = dataTables();
    static const QList<RequiredTable> work = workTables();
    return file == Database::Role::Data ? data : work;
}

std::optional<Failure> CheckRequiredTables(Database& db, Database::Role file)
{
    bool ok = false;
    QSet<QString> present;
    for (const QSqlRecord& r : db.rows(QStringLiteral("select name from sqlite_master where type = 'table'"), {}, &ok))
        present.insert(r.value(0).toString());
    if (!ok) return db.lastError();

    const QList<RequiredTable>& required = RequiredTables(file);
    const bool none = std::none_of(required.begin(), required.end(),
                                   [&present](const RequiredTable& t) { return present.contains(t.table); });
    if (none) return Failure(QStringLiteral("このプログラムのデータベースではありません (必要なテーブルがありません)。"));

    for (const RequiredTable& t : required) {
        if (!present.contains(t.table)) return Failure(QStringLiteral("テーブル %1 がありません。").arg(t.table));
        if (t.columns.isEmpty()) continue;
        // The grids address these columns by place: the first place that
        // holds another column names the column that belongs there, as
        // missing or as standing elsewhere.
        const QStringList columns = db.columns(t.table);
        for (int i = 0; i < t.columns.size(); ++i) {
            if (i < columns.size() && columns[i] == t.columns[i]) continue;
            const qsizetype at = columns.indexOf(t.columns[i]);
            if (at < 0) return Failure(QStringLiteral("テーブル %1 に列 %2 がありません。").arg(t.table, t.columns[i]));
            return Failure(QStringLiteral("テーブル %1 の列 %2 が %3 番目にあります (%4 番目にあるはずの列です)。")
                               .arg(t.table, t.columns[i])
                               .arg(at + 1)
                               .arg(i + 1));
        }
    }
    return std::nullopt;
}

void ShowStartupProblem(const MessageCatalog& messages, const StartupProblem& problem)
{
    MessageBoxSpec spec;
    spec.title = QStringLiteral("PrjVelt");
    spec.text = QStringLiteral("%1\n%2").arg(problem.headline, QDir::toNativeSeparators(problem.file));
    if (!problem.detail.said.isEmpty()) spec.text += QStringLiteral("\n\n") + problem.detail.said;
    spec.detail = problem.detail.engine;
    spec.icon = MessageBoxSpec::Icon::Critical;
    messages.show(spec);
}

std::optional<StartupProblem> OpenDataFiles(Session& session)
{
    const struct {
        Database* db;
        QString path;
        Database::Role role;
    } files[] = {{&session.DataDb(), session.DataDbPath(), Database::Role::Data},
                 {&session.WorkDb(), session.WorkDbPath(), Database::Role::Work}};

    // Every check before the first write: a file that is missing, that
    // cannot be written (or whose folder cannot take SQLite's journal), or
    // that is not the program's database ends the start-up, and neither file
    // has been changed.
    for (const auto& f : files) {
        if (!QFileInfo(f.path).isFile()) return StartupProblem{f.path, Failure::because(FailureReason::Missing)};
    }
    if (!canWriteFolder(session.DataFolder()))
        return StartupProblem{session.DataFolder(), Failure(QStringLiteral("このフォルダに書き込めません (読み取り専用です)。"))};
    for (const auto& f : files) {
        if (!QFileInfo(f.path).isWritable())
            return StartupProblem{f.path, Failure(QStringLiteral("このファイルに書き込めません (読み取り専用です)。"))};
    }

    const auto fail = [&session](const QString& file, const Failure& detail) {
        session.DataDb().close();
        session.WorkDb().close();
        return StartupProblem{file, detail};
    };
    // Opening and reading the schema write nothing.
    for (const auto& f : files) {
        if (!f.db->open(f.path, f.role, false)) return fail(f.path, f.db->lastError());
    }
    for (const auto& f : files) {
        if (const auto missing = CheckRequiredTables(*f.db, f.role)) return fail(f.path, *missing);
    }
    // From here on the files are the program's: their journals are set.
    session.DataDb().configure();
    session.WorkDb().configure();
    return std::nullopt;
}
