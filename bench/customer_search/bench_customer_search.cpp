// Run by hand: ./bench_customer_search [customers]
// Builds a data file of customers (default 10,000) in a temporary folder and
// prints, for kana-initial and free-text searches of the search dialog, the
// median time from the button to a painted list.
// Target: each search <= 50 ms.

#include "CustomerSearchSupport.h"
#include "customer_search/FrmPelmar.h"
#include "customer_search/ModPelmar.h"
#include "support/FindControl.h"
#include "support/MedianTime.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kRuns = 21;
constexpr double kTargetMs = 50;

QList<CustomerFixtureRow> customers(int count)
{
    QRandomGenerator rng(17);
    const QString streets[] = {u"大阪府大阪市北区梅田"_qs, u"東京都千代田区丸の内"_qs, u"神奈川県横浜市中区"_qs,
                               u"愛知県名古屋市中村区"_qs, u"福岡県福岡市博多区"_qs};
    const QString kinds[] = {u"商店"_qs, u"工業"_qs, u"書店"_qs, u"建設"_qs, u"商事"_qs};
    QList<CustomerFixtureRow> rows;
    for (int i = 0; i < count; ++i) {
        // Readings begin with a hiragana, katakana or half-width letter of the tables.
        const int letter = int(rng.bounded(45));
        const QString* tables[] = {&ModPelmar::HiraganaTable, &ModPelmar::KatakanaTable, &ModPelmar::HalfWidthTable};
        const QString reading = tables[rng.bounded(3)]->mid(letter, 1) + QStringLiteral("よみ%1").arg(i);
        const QString block = QStringLiteral("〒%1-%2\r\n%3%4-%5\r\nTEL 0%6-%7-%8")
                                  .arg(rng.bounded(100, 999))
                                  .arg(rng.bounded(1000, 9999))
                                  .arg(streets[i % 5])
                                  .arg(rng.bounded(1, 9))
                                  .arg(rng.bounded(1, 30))
                                  .arg(rng.bounded(3, 99))
                                  .arg(rng.bounded(1000, 9999))
                                  .arg(rng.bounded(1000, 9999));
        rows.append({QStringLiteral("顧客%1%2").arg(i, 5, 10, QChar(u'0')).arg(kinds[i % 5]), block, reading});
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;

    TestFolder data;
    QString error;
    if (!insertCustomers(data.dataDbPath(), customers(count), &error)) {
        std::fprintf(stderr, "fixture failed: %s\n", qPrintable(error));
        return 1;
    }
    ModPelmar::DataPath = data.dataDbPath();
    FrmPelmar dialog;
    if (!dialog.Form_Load()) return 1;
    dialog.show();
    QApplication::processEvents();

    std::printf("customer search over %d customers (median of %d)\n", count, kRuns);
    // The controls are found before any run, so a run times the search alone.
    QTableView* const grid = control<QTableView>(dialog, "Grid参照");
    QPushButton* const search = control<QPushButton>(dialog, "cmd検索");
    bool allOk = true;
    const auto measure = [&](const char* what, QPushButton* button, const std::function<void()>& setUp) {
        setUp();
        const double ms = MedianMs(kRuns, [&] {
            button->click();
            grid->viewport()->repaint();
        });
        const int rows = grid->model()->rowCount() - 1;
        std::printf("%-40s %5d rows  median %7.2f ms  target <= %3.0f ms  %s\n", what, rows, ms, kTargetMs,
                    ms <= kTargetMs ? "ok" : "OVER");
        allOk = allOk && ms <= kTargetMs;
    };
    QLineEdit* const box[] = {control<QLineEdit>(dialog, "txtかな"), control<QLineEdit>(dialog, "txt電話番号"),
                              control<QLineEdit>(dialog, "txt顧客名"), control<QLineEdit>(dialog, "txt住所1")};
    const auto boxes = [&](const QString& kana, const QString& phone, const QString& name, const QString& address) {
        return [&box, kana, phone, name, address] {
            box[0]->setText(kana);
            box[1]->setText(phone);
            box[2]->setText(name);
            box[3]->setText(address);
        };
    };
    measure("kana か", control<QPushButton>(dialog, "cmd50(5)"), [] {});
    measure("kana ゐ (every reading)", control<QPushButton>(dialog, "cmd50(46)"), [] {});
    measure("free text, all boxes empty", search, boxes({}, {}, {}, {}));
    measure("free text, name 商店", search, boxes({}, {}, u"商店"_qs, {}));
    measure("free text, phone 12", search, boxes({}, u"12"_qs, {}, {}));
    measure("free text, reading + address", search, boxes(u"よみ1"_qs, {}, {}, u"大阪"_qs));
    measure("free text, name with wildcards 顧*1?商", search, boxes({}, {}, u"顧*1?商"_qs, {}));
    return allOk ? 0 : 2;
}
