// Run by hand: ./bench_calc [calls]
// Median time of one Calc明細 over 100 filled lines with 10 subtotal lines,
// next to the time SQLite needs to read the same 100 rows once.
// Target: under 1 ms per call and within 5x of the read.
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/settings_tab/SettingsTab.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/QuotationTab.h"
#include "frame/Velt.h"
#include "platform/WorkTableModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMicros(int calls, const std::function<void()>& prepare, const std::function<void()>& timed)
{
    std::vector<qint64> ns;
    ns.reserve(calls);
    QElapsedTimer t;
    for (int i = 0; i < calls; ++i) {
        if (prepare) prepare();
        t.start();
        timed();
        ns.push_back(t.nsecsElapsed());
    }
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1000.0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;

    MainWindowFixture f;
    if (!f.open()) return 1;
    QuotationTab& tab = f.quotation();
    DetailGrid& w = *control<DetailGrid>(tab, "DetailGrid");
    f.session.設定情報.税計算 = true;
    f.session.設定情報.税区分 = QStringLiteral("外税");
    control<PickOnlyComboBox>(f.settings(), "cmb税端数")->setText(QStringLiteral("四捨五入"));
    w.setDetailsChanged(true);

    // 100 filled lines; every tenth is a subtotal line.
    Database& db = f.work();
    db.exec(QStringLiteral("update w明細 set 品名 = '品' || 行番号, 数量 = 10000 * 行番号, 単価 = 1234500, "
                           "金額 = 1234500 * 行番号, 非課税 = (行番号 % 7 = 0)"));
    db.exec(QStringLiteral("update w明細 set 品名 = ' 小 計', 小計 = 1, 数量 = null, 単価 = null where 行番号 % 10 = 0"));
    control<WorkTableModel>(tab, "wkDat")->refresh();

    const double steady = medianMicros(calls, nullptr, [&] { w.Calc明細(); });
    int n = 0;
    const double changed = medianMicros(
        calls,
        [&] { db.exec(QStringLiteral("update w明細 set 金額 = ? where 行番号 = 5"), {(n++ % 2 ? 1 : 2) * 10000000LL}); },
        [&] { w.Calc明細(); });
    const double read = medianMicros(calls, nullptr, [&] {
        QSqlQuery q(db.connection());
        q.setForwardOnly(true);
        q.exec(QStringLiteral("select * from w明細 order by 行番号"));
        int rows = 0;
        while (q.next()) {
            for (int c = 0; c < 11; ++c) (void)q.value(c);
            ++rows;
        }
        if (rows != 100) std::abort();
    });

    std::printf("Calc明細, subtotals unchanged : %8.1f us (median of %d)\n", steady, calls);
    std::printf("Calc明細, one subtotal written: %8.1f us\n", changed);
    std::printf("SQLite read of the 100 rows  : %8.1f us\n", read);
    std::printf("ratio to the read            : %8.2f / %.2f\n", steady / read, changed / read);
    return 0;
}
