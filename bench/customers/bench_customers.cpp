// Run by hand: QT_QPA_PLATFORM=offscreen ./bench_customers [customers]
// Over a data file of customers (default 10,000) in a temporary folder it
// prints the median time of
//   - 読込 in the customer window: the whole list read into the work table and
//     shown in the grid (target <= 200 ms);
//   - 参照 from an SQLite link file of as many customers, in the plain and the
//     Moxel format (target <= 1 s), beside SQLite's own time to read the same
//     rows ordered by reading.

#include "masters/FrmCustomer.h"
#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "support/MedianTime.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 11;

struct Customer {
    QString name, postal, address1, address2, tel, fax, reading, honorific;
};

QList<Customer> customers(int count)
{
    QRandomGenerator rng(23);
    const QString kana = QStringLiteral("あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ");
    const QString towns[] = {QStringLiteral("大阪府大阪市北区梅田"), QStringLiteral("東京都千代田区丸の内"),
                             QStringLiteral("神奈川県横浜市中区"), QStringLiteral("愛知県名古屋市中村区")};
    QList<Customer> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        Customer c;
        c.name = QStringLiteral("顧客%1商店").arg(i, 5, 10, QChar(u'0'));
        c.postal = QString::number(rng.bounded(1000000, 9999999));
        c.address1 = towns[i % 4] + QString::number(rng.bounded(1, 9)) + QStringLiteral("丁目");
        c.address2 = QStringLiteral("第%1ビル").arg(rng.bounded(1, 40));
        c.tel = QStringLiteral("0%1-%2-%3").arg(rng.bounded(3, 99)).arg(rng.bounded(1000, 9999)).arg(rng.bounded(1000, 9999));
        c.fax = QStringLiteral("0%1-%2-%3").arg(rng.bounded(3, 99)).arg(rng.bounded(1000, 9999)).arg(rng.bounded(1000, 9999));
        for (int k = 0; k < 6; ++k) c.reading += kana[int(rng.bounded(kana.size()))];
        c.honorific = i % 3 ? QStringLiteral("様") : QStringLiteral("御中");
        rows.append(c);
    }
    return rows;
}

bool fillMaster(Database& data, const QList<Customer>& rows)
{
    Transaction t(data);
    for (const Customer& c : rows) {
        const QString block = QStringLiteral("〒%1\r\n%2\r\n%3\r\nTEL %4 FAX %5").arg(c.postal, c.address1, c.address2, c.tel, c.fax);
        if (!data.insert(QStringLiteral("顧客マスタ"), {{QStringLiteral("顧客名"), c.name},
                                                        {QStringLiteral("顧客情報"), block},
                                                        {QStringLiteral("ふりがな"), c.reading},
                                                        {QStringLiteral("敬称"), c.honorific}}))
            return false;
    }
    return t.commit();
}

// An SQLite link file of the customers in the plain or the Moxel format.
bool writeLinkFile(const QString& path, const QList<Customer>& rows, bool moxel)
{
    QFile::remove(path);
    QFile(path).open(QIODevice::WriteOnly);
    Database link;
    if (!link.open(path, Database::Role::Work, false)) return false;
    const QString create = moxel ? QStringLiteral("create table 顧客マスタ (名称 TEXT, 郵便番号 TEXT, 住所1 TEXT, 住所2 TEXT, "
                                                   "tel TEXT, fax TEXT, ふりがな TEXT, 敬称 TEXT)")
                                 : QStringLiteral("create table 顧客マスタ (顧客名 TEXT, 顧客情報 TEXT, ふりがな TEXT, 敬称 TEXT)");
    if (!link.exec(create)) return false;
    Transaction t(link);
    for (const Customer& c : rows) {
        const bool ok = moxel ? link.exec(QStringLiteral("insert into 顧客マスタ values (?, ?, ?, ?, ?, ?, ?, ?)"),
                                          {c.name, c.postal, c.address1, c.address2, c.tel, c.fax, c.reading, c.honorific})
                              : link.exec(QStringLiteral("insert into 顧客マスタ values (?, ?, ?, ?)"),
                                          {c.name, c.address1 + QStringLiteral("\r\n") + c.address2, c.reading, c.honorific});
        if (!ok) return false;
    }
    return t.commit();
}

// SQLite's own time to read every value of the table, ordered by reading.
double sqliteReadMs(const QString& path)
{
    const QString name = QStringLiteral("bench-raw-read");
    double ms = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        ms = MedianMs(kRuns, [&] {
            QSqlQuery q(db);
            q.setForwardOnly(true);
            q.exec(QStringLiteral("select * from 顧客マスタ order by ふりがな"));
            const int columns = q.record().count();
            qsizetype chars = 0;
            while (q.next())
                for (int c = 0; c < columns; ++c) chars += q.value(c).toString().size();
            if (chars == 0) std::puts("no rows read");
        });
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ms;
}

void report(const char* what, double ms, double target)
{
    std::printf("%-46s %8.1f ms   target <= %.0f ms   %s\n", what, ms, target, ms <= target ? "ok" : "OVER");
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 10000;
    const QList<Customer> rows = customers(count);

    MainWindowFixture f;
    if (!f.open() || !fillMaster(f.data(), rows)) {
        std::fprintf(stderr, "cannot build the data file: %s\n", qPrintable(f.data().lastError().logText()));
        return 1;
    }
    control<QPushButton>(f.quotation(), "cmd顧客マスタ")->click();
    auto* w = qobject_cast<FrmCustomer*>(f.session.windows().find(QStringLiteral("Frm顧客情報")));
    if (!w || control<WorkTableModel>(*w, "dat顧客")->rowCount() != count) {
        std::fprintf(stderr, "the customer window did not list %d customers\n", count);
        return 1;
    }
    // The controls are found before any run, so a run times the window's work alone.
    const WorkTableModel* list = control<WorkTableModel>(*w, "dat顧客");
    GridView* grid = control<GridView>(*w, "Grid顧客マスタ");
    QPushButton* read = control<QPushButton>(*w, "cmd読込");
    QPushButton* link = control<QPushButton>(*w, "cmdリンク参照");
    std::printf("%d customers\n", count);
    report("読込 (list read and shown)", MedianMs(kRuns, [&] {
               read->click();
               grid->viewport()->repaint();
           }),
           200);

    for (const bool moxel : {false, true}) {
        const QString path = f.folder.root() + (moxel ? QStringLiteral("/moxeldata.mdb") : QStringLiteral("/dovandata.mdb"));
        if (!writeLinkFile(path, rows, moxel)) {
            std::fprintf(stderr, "cannot write the link file\n");
            return 1;
        }
        f.session.設定情報.顧客リンクアプリ = moxel ? QStringLiteral("Moxel顧客管理") : QStringLiteral("Dovan請求書");
        f.session.設定情報.顧客リンクパス = path;
        const double import = MedianMs(kRuns, [&] {
            link->click();
            grid->viewport()->repaint();
        });
        if (list->rowCount() != count || !f.messages.shown().isEmpty()) {
            std::fprintf(stderr, "the import did not list %d customers\n", count);
            return 1;
        }
        report(moxel ? "参照 Moxel顧客管理 (blocks built)" : "参照 Dovan請求書", import, 1000);
        std::printf("%-46s %8.1f ms\n", "  SQLite reading the same rows", sqliteReadMs(path));
    }
    return 0;
}
