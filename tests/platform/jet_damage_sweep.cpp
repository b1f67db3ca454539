// jet_damage_sweep [count] [seed]: reads `count` damaged copies of two Jet
// files (Jet 3 and Jet 4, made by the tests' writer) through LinkFile and
// counts what became of each read:
//   reported      the open or a table's read failed with a message
//   same          every table read whole and equal to the intact file's
//                 (the damage hit bytes nothing reads)
//   altered       every table read with its rows, some value changed (Jet
//                 keeps no checksums: a changed letter cannot be told)
//   short         a table read as complete with rows missing or added, or
//                 rows handed over by a read that then failed (見積書 is
//                 read as the conversion reads lines: in order, row by row)
//   slow          the program waited longer than the reader's limit allows
//   changed file  the damaged file was changed by reading it
// and, among the reported ones, the reader ends: no progress, crash (or its
// memory cap), warning flood. Short reads, slow reads and changed files must
// be 0; the program exits 1 otherwise. A hang or crash of the program itself
// would end the sweep before its summary.

#include "platform/LinkFile.h"
#include "support/JetDamage.h"
#include "support/JetWriter.h"
#include "support/TestFolder.h"
#include "support/WholeRows.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

using jet::Kind;

constexpr int kSilenceMs = 5000;

QList<jet::Table> tables()
{
    jet::Table customers{QStringLiteral("顧客マスタ"),
                         {{QStringLiteral("顧客名"), Kind::Text}, {QStringLiteral("顧客情報"), Kind::Memo},
                          {QStringLiteral("ふりがな"), Kind::Text}, {QStringLiteral("敬称"), Kind::Text}},
                         {}};
    for (int i = 0; i < 120; ++i)
        customers.rows.append({QStringLiteral("顧客%1商事").arg(i, 3, 10, QLatin1Char('0')),
                               i % 7 ? QVariant(QStringLiteral("〒100-0001\r\n東京都千代田区%1\r\nTEL 03-1111-%2")
                                                    .arg(i)
                                                    .arg(i, 4, 10, QLatin1Char('0')))
                                     : QVariant(),
                               QStringLiteral("ｺｷｬｸ%1").arg(i), QStringLiteral("様")});
    jet::Table products{QStringLiteral("商品マスタ"),
                        {{QStringLiteral("品名"), Kind::Text}, {QStringLiteral("入数"), Kind::Text},
                         {QStringLiteral("単価"), Kind::Currency}, {QStringLiteral("非課税"), Kind::YesNo},
                         {QStringLiteral("ふりがな"), Kind::Text}},
                        {}};
    for (int i = 0; i < 60; ++i)
        products.rows.append({QStringLiteral("商品%1").arg(i), QStringLiteral("%1").arg(i % 12), 100 * i + 0.5, i % 2 == 0,
                              QStringLiteral("ｼｮｳﾋﾝ%1").arg(i)});
    jet::Table lines{QStringLiteral("見積書"),
                     {{QStringLiteral("伝票番号"), Kind::Long}, {QStringLiteral("行番号"), Kind::Integer},
                      {QStringLiteral("日付"), Kind::DateTime}, {QStringLiteral("数量"), Kind::Double},
                      {QStringLiteral("金額"), Kind::Currency}, {QStringLiteral("小計"), Kind::Byte}},
                     {}};
    for (int i = 0; i < 200; ++i)
        lines.rows.append({i / 10 + 1, i % 10 + 1, QDateTime(QDate(2004, 3, 1).addDays(i / 10), QTime(10, i % 60)),
                           1.25 * i, 1000 * i, i % 10 == 9 ? 1 : 0});
    return {customers, products, lines};
}

using Contents = QHash<QString, QList<QVariantList>>;

// Every table of the file, or nothing (with the message) when a read fails;
// handedThenFailed when a failed read had handed rows over.
std::optional<Contents> readAll(const QString& path, QString& message, bool& handedThenFailed)
{
    const QString lines = QStringLiteral("見積書");
    LinkFile link;
    link.setReaderLimits({kSilenceMs, LinkFile::ReaderLimits().memoryBytes});
    if (!link.open(path)) {
        message = link.errorText();
        return std::nullopt;
    }
    Contents out;
    for (const QString& t : {QStringLiteral("顧客マスタ"), QStringLiteral("商品マスタ"), lines}) {
        QList<QVariantList>& values = out[t];
        if (t == lines) {
            const bool read = link.forEachRow(t, {QStringLiteral("行番号"), QStringLiteral("伝票番号")}, WholeRows([&](const LinkRow& r) {
                values.append(r.values());
                return true;
            }));
            handedThenFailed = !read && !values.isEmpty();
            if (read) continue;
        } else if (const auto rows = link.rows(t)) {
            for (const LinkRow& r : rows->rows) values.append(r.values());
            continue;
        }
        message = link.errorText();
        return std::nullopt;
    }
    return out;
}

bool damageAtRandom(const QString& path, const jet::Layout& layout, QRandomGenerator& random, QString& what)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite)) return false;
    const qint64 size = f.size();
    const int page = layout.pageSize;
    const auto anyPage = [&] { return 1 + int(random.bounded(quint32(size / page - 1))); };
    // Pages the catalog and table definitions live on, where damage matters most.
    QList<int> structure{2};
    structure += layout.catalogPages;
    for (int p : layout.definitionPage) structure.append(p);
    const auto somewhere = [&](bool structural) {
        const qint64 p = structural ? structure[random.bounded(int(structure.size()))] : anyPage();
        return p * page + random.bounded(page);
    };
    const auto rewrite = [&](qint64 at, const QByteArray& bytes) { return f.seek(at) && f.write(bytes) == bytes.size(); };
    const int kind = int(random.bounded(7));
    switch (kind) {
    case 0:
    case 1:
    case 2: {
        const bool structural = kind != 0;
        const qint64 at = somewhere(structural);
        f.seek(at);
        const char c = char(f.read(1).at(0) ^ char(1 << random.bounded(8)));
        what = QStringLiteral("%1bit at %2").arg(structural ? QStringLiteral("catalog or definition ") : QString()).arg(at);
        return rewrite(at, QByteArray(1, c));
    }
    case 3: {
        const qint64 at = somewhere(random.bounded(2) == 0);
        QByteArray noise(1 + random.bounded(16), '\0');
        for (char& c : noise) c = char(random.bounded(256));
        what = QStringLiteral("%1 random bytes at %2").arg(noise.size()).arg(at);
        return rewrite(qMin(at, size - noise.size()), noise);
    }
    case 4: {
        const int p = anyPage();
        what = QStringLiteral("page %1 zeroed").arg(p);
        return rewrite(qint64(p) * page, QByteArray(page, '\0'));
    }
    case 5: {
        const qint64 to = page + random.bounded(quint32(size - page));
        what = QStringLiteral("cut at %1 of %2").arg(to).arg(size);
        return f.resize(to);
    }
    default: {
        const int p = anyPage();
        const qint64 to = random.bounded(2) ? qint64(p) * page : qint64(p + 1) * page - 1 - random.bounded(page - 1);
        what = QStringLiteral("cut at page %1 (%2)").arg(p).arg(to);
        return f.resize(to);
    }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 300;
    QRandomGenerator random(argc > 2 ? QString::fromLocal8Bit(argv[2]).toUInt() : 20041);
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid()) return 2;

    struct Base {
        QString path;
        jet::Layout layout;
        Contents contents;
    };
    QList<Base> bases;
    for (const jet::Version v : {jet::Version::Jet3, jet::Version::Jet4}) {
        Base b;
        b.path = dir.filePath(v == jet::Version::Jet3 ? QStringLiteral("base3.mdb") : QStringLiteral("base4.mdb"));
        QString error;
        if (!jet::writeFile(b.path, v, tables(), &error, &b.layout)) {
            out << "cannot write the intact file: " << error << Qt::endl;
            return 2;
        }
        bool handedThenFailed = false;
        const auto read = readAll(b.path, error, handedThenFailed);
        if (!read) {
            out << "cannot read the intact file: " << error << Qt::endl;
            return 2;
        }
        b.contents = *read;
        bases.append(b);
    }

    int reported = 0, same = 0, altered = 0, shortReads = 0, slow = 0, changedFiles = 0;
    int silent = 0, crashed = 0, flooded = 0;
    qint64 longestMs = 0;
    const QString copy = dir.filePath(QStringLiteral("damaged.mdb"));
    for (int i = 0; i < count; ++i) {
        const Base& base = bases[i % bases.size()];
        QFile::remove(copy);
        QString what;
        if (!QFile::copy(base.path, copy) || !damageAtRandom(copy, base.layout, random, what)) {
            out << "cannot damage a copy" << Qt::endl;
            return 2;
        }
        const QByteArray hash = FileHash(copy);
        QElapsedTimer timer;
        timer.start();
        QString message;
        bool handedThenFailed = false;
        const auto read = readAll(copy, message, handedThenFailed);
        const qint64 ms = timer.elapsed();
        longestMs = qMax(longestMs, ms);
        if (ms > kSilenceMs + 5000) {
            ++slow;
            out << "slow (" << ms << " ms): " << what << Qt::endl;
        }
        if (FileHash(copy) != hash) {
            ++changedFiles;
            out << "file changed: " << what << Qt::endl;
        }
        if (handedThenFailed) {
            ++shortReads;
            out << "rows handed over before a failure: " << what << Qt::endl;
        }
        if (!read) {
            ++reported;
            silent += message.contains(QStringLiteral("読み込みが進みませんでした"));
            crashed += message.contains(QStringLiteral("異常終了"));
            flooded += message.contains(QStringLiteral("警告が止まらなく"));
            continue;
        }
        bool rowsWhole = true;
        for (auto it = base.contents.cbegin(); it != base.contents.cend(); ++it)
            rowsWhole = rowsWhole && read->value(it.key()).size() == it.value().size();
        if (!rowsWhole) {
            ++shortReads;
            out << "short read: " << what << Qt::endl;
        } else if (*read == base.contents) {
            ++same;
        } else {
            ++altered;
        }
    }
    out << "damaged files read: " << count << "\n"
        << "  reported with a message: " << reported << " (reader stopped for no progress: " << silent
        << ", reader crashed or over its memory cap: " << crashed << ", warning flood: " << flooded << ")\n"
        << "  read whole, equal to the intact file: " << same << "\n"
        << "  read whole, some value altered: " << altered << "\n"
        << "  short reads shown as complete: " << shortReads << "\n"
        << "  reads longer than the limit allows: " << slow << " (longest " << longestMs << " ms)\n"
        << "  files changed by reading: " << changedFiles << Qt::endl;
    return shortReads == 0 && slow == 0 && changedFiles == 0 ? 0 : 1;
}
