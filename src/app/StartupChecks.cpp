#include "app/StartupChecks.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QtEndian>

namespace {

// The tables the windows bind their grids to: they address the columns by place.
bool boundByPlace(const QString& table)
{
    static const QStringList bound{u"w明細"_qs,     u"w商品参照"_qs,     u"w単位参照"_qs,
                                   u"w入数参照"_qs, u"w商品区分参照"_qs, u"w履歴リスト"_qs};
    return bound.contains(table);
}

QList<RequiredTable> shipped(const QList<std::pair<QString, QStringList>>& tables)
{
    QList<RequiredTable> out;
    for (const auto& [table, columns] : tables) out.append({table, columns, boundByPlace(table)});
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
    static const QList<RequiredTable> data = shipped({
#include "app/VeltData2KColumns.inc"
    });
    static const QList<RequiredTable> work = shipped({
#include "app/VeltWork2KColumns.inc"
    });
    return file == Database::Role::Data ? data : work;
}

std::optional<Failure> CheckRequiredTables(Database& db, Database::Role file)
{
    // Every table with its columns, in one read of the schema.
    bool ok = false;
    QHash<QString, QStringList> present;
    for (const QSqlRecord& r :
         db.rows(QStringLiteral("select m.name, p.name from sqlite_master m, pragma_table_info(m.name) p "
                                "where m.type = 'table' order by m.name, p.cid"),
                 {}, &ok))
        present[r.value(0).toString()].append(r.value(1).toString());
    if (!ok) return db.lastError();

    const QList<RequiredTable>& required = RequiredTables(file);
    const bool none = std::none_of(required.begin(), required.end(),
                                   [&present](const RequiredTable& t) { return present.contains(t.table); });
    if (none) return Failure(QStringLiteral("このプログラムのデータベースではありません (必要なテーブルがありません)。"));

    for (const RequiredTable& t : required) {
        if (!present.contains(t.table)) return Failure(QStringLiteral("テーブル %1 がありません。").arg(t.table));
        const QStringList& columns = present[t.table];
        for (int i = 0; i < t.columns.size(); ++i) {
            if (t.byPlace && i < columns.size() && columns[i] == t.columns[i]) continue;
            // The first column missing is named; of a table bound by place,
            // the first place that holds another column names the column
            // that belongs there, as missing or as standing elsewhere.
            const qsizetype at = columns.indexOf(t.columns[i]);
            if (at < 0) return Failure(QStringLiteral("テーブル %1 に列 %2 がありません。").arg(t.table, t.columns[i]));
            if (!t.byPlace) continue;
            return Failure(QStringLiteral("テーブル %1 の列 %2 が %3 番目にあります (%4 番目にあるはずの列です)。")
                               .arg(t.table, t.columns[i])
                               .arg(at + 1)
                               .arg(i + 1));
        }
    }
    return std::nullopt;
}

std::optional<Failure> CheckFileLength(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;  // the open that follows says why
    const QByteArray header = f.read(100);
    const qint64 size = f.size();
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return std::nullopt;
    // The page size (1 stands for 65536) and, while the header's change
    // counter vouches for it, the number of pages the file holds.
    const quint32 stored = qFromBigEndian<quint16>(header.constData() + 16);
    const qint64 pageSize = stored == 1 ? 65536 : stored;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return std::nullopt;  // SQLite's open tells
    // (A write-ahead log beside it may still hold pages a checkpoint had not
    // yet written when it stopped: then only the page size is checked.)
    const quint32 pages = qFromBigEndian<quint32>(header.constData() + 28);
    const bool pagesKnown = pages > 0 && qFromBigEndian<quint32>(header.constData() + 24) == qFromBigEndian<quint32>(header.constData() + 92) &&
                            QFileInfo(path + QStringLiteral("-wal")).size() == 0;
    if (size % pageSize == 0 && (!pagesKnown || qint64(pages) * pageSize <= size)) return std::nullopt;
    const QString expected = pagesKnown ? QStringLiteral("%1 バイトのはずが").arg(qint64(pages) * pageSize)
                                        : QStringLiteral("ページ（%1 バイト）の整数倍のはずが").arg(pageSize);
    return Failure::because(FailureReason::Damaged)
        .prepend(QStringLiteral("ファイルが途中で切れています（%1 %2 バイトしかありません）。").arg(expected).arg(size));
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
    for (const auto& f : files) {
        if (auto cut = CheckFileLength(f.path)) return StartupProblem{f.path, *cut};
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

std::optional<StartupProblem> DamageMetByTheLoad(Session& session)
{
    for (Database* db : {&session.DataDb(), &session.WorkDb()}) {
        if (const std::optional<Failure>& damage = db->damageMet()) return StartupProblem{db->path(), *damage};
    }
    return std::nullopt;
}
