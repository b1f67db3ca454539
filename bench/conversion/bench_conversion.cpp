// Run by hand: QT_QPA_PLATFORM=offscreen ./bench_conversion [quotations]
// (or under xvfb-run to see the window). Builds an older data file of
// quotations with 20 lines each (default 10,000), 2,000 customers, 3,000
// products and full code lists, then converts it with the conversion window
// into a fresh data file, shown, with its progress texts, and prints the time
// of each step and of the whole run, the same run again over the converted
// data (every row found and updated), and beside them SQLite's own time to
// insert the same rows (one insert ... select per table from the attached
// older file, in one transaction), the floor. Targets: the conversion into a
// new file at most 3 times the floor, and a peak memory (resident set) of at
// most 120 MB over the SQLite runs. Then the same rows as an Access 97 (Jet 3)
// file made by the test Jet writer, converted through the reader process in a
// process of the bench's own ("--jet"), so that its peak memory is its own:
// targets <= 10 s and <= 120 MB (the whole process: start, the file's making
// and the conversion; the reader process, held to its own cap, is not in it).

#include "app/Session.h"
#include "conversion/FrmConversion.h"
#include "platform/Database.h"
#include "platform/LinkFile.h"
#include "platform/MessagePresenter.h"
#include "support/FindControl.h"
#include "support/OldDataFile.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <cstdio>
#include <optional>
#include <sys/resource.h>

namespace {

constexpr double kTargetRatio = 3.0;
constexpr long kTargetPeakMegabytes = 120;
constexpr double kTargetJetSeconds = 10.0;

// The older file's rows, made by SQLite itself.
QStringList oldRows(int quotations)
{
    const QString q = QString::number(quotations);
    return {
        QStringLiteral("insert into 自社情報 (自社名, 自社情報, 年号, 税区分, 最大見積書番号, 税計算, 入数列タイトル) "
                       "values ('旧商会', '東京都千代田区', '和暦', '外税', %1, -1, '入数')").arg(q),
        QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n where i < 1999) "
                       "insert into 顧客マスタ select printf('顧客%04d', i), '東京都千代田区丸の内' || i || char(13, 10) || "
                       "'電話 03-0000-' || printf('%04d', i), printf('こきゃく%04d', i), '様' from n"),
        QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n where i < 2999) "
                       "insert into 商品マスタ select printf('商品%04d', i), '区分', '10', '本', 100 + i % 500 + 0.5, "
                       "-(i % 7 = 0), printf('しょうひん%04d', i) from n"),
        QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 99), "
                       "k(kcode) as (values ('単位'), ('商品区分'), ('入数'), ('有効期限'), ('支払条件'), ('受渡場所'), ('納期')) "
                       "insert into コードマスタ select kcode, printf('%02d', i), case when i <= 20 then kcode || i end "
                       "from k, n"),
        QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                       "insert into 見積書ヘッダ select i, printf('顧客%04d', i % 2000), date('2002-01-01', '+' || (i % 1000) || ' days'), "
                       "180.75, 3615, 3795.75, 3795.75, '様', 0, '東京都千代田区', '件名' || i, '貴社指定場所', '月末締め翌月末払い', "
                       "'発行後30日', '受注後1週間', '担当', '', '', '', NULL from n").arg(q),
        QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1), "
                       "l(k) as (select 0 union all select k + 1 from l where k < 19) "
                       "insert into 見積書 select printf('顧客%04d', i % 2000), "
                       "date('2002-01-01', '+' || (i % 1000) || ' days') || ' 10:15:30.250', i, 1, k, "
                       "printf('商品%04d', (i * 7 + k) % 3000), '区分', '10', '本', 1.5, 120.5, 180.75, 0, 'しょうひん', 0, NULL "
                       "from n, l").arg(q),
    };
}

// The same rows inserted by SQLite alone, converted on the way as the
// conversion converts them.
const QStringList kFloor{
    QStringLiteral("insert into 顧客マスタ (顧客名, 顧客情報, ふりがな, 敬称) select 顧客名, 顧客情報, ふりがな, 敬称 from old.顧客マスタ"),
    QStringLiteral("insert into 商品マスタ (品名, 商品区分, 入数, 単位, 単価, 非課税, ふりがな) select 品名, null, 入数, 単位, "
                   "cast(round(単価 * 10000) as integer), 非課税 <> 0, ふりがな from old.商品マスタ"),
    QStringLiteral("update コードマスタ set sname = (select o.sname from old.コードマスタ o where o.kcode = コードマスタ.kcode "
                   "and o.code = コードマスタ.code)"),
    QStringLiteral("insert into 見積書ヘッダ (伝票番号, 顧客名, 日付, 消費税, 税抜計, 合計, 見積金額, 敬称, 済, 顧客情報, 件名, 受渡場所, "
                   "支払条件, 有効期限, 納期, 印鑑1, 印鑑2, 印鑑3, 印鑑4, メモ) select 伝票番号, 顧客名, 日付, "
                   "cast(round(消費税 * 10000) as integer), cast(round(税抜計 * 10000) as integer), "
                   "cast(round(合計 * 10000) as integer), cast(round(見積金額 * 10000) as integer), 敬称, 済 <> 0, 顧客情報, "
                   "件名, 受渡場所, 支払条件, 有効期限, 納期, 印鑑1, 印鑑2, 印鑑3, 印鑑4, メモ from old.見積書ヘッダ"),
    QStringLiteral("insert into 見積書 (顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, 商品区分, 入数, 単位, 数量, 単価, 金額, 非課税, "
                   "ふりがな, 小計, 備考) select 顧客名, 日付, 伝票番号, 伝票区分, 行番号, 品名, null, 入数, 単位, "
                   "cast(round(数量 * 10000) as integer), cast(round(単価 * 10000) as integer), "
                   "cast(round(金額 * 10000) as integer), 非課税 <> 0, ふりがな, 小計 <> 0, null from old.見積書"),
};

double floorSeconds(const QString& oldPath)
{
    TestFolder folder;
    Database data;
    if (!data.open(folder.dataDbPath(), Database::Role::Data)) return -1;
    QElapsedTimer t;
    t.start();
    if (!data.exec(QStringLiteral("attach database ? as old"), {oldPath}) || !data.beginTransaction()) return -1;
    for (const QString& s : kFloor)
        if (!data.exec(s)) return -1;
    if (!data.commit()) return -1;
    return t.nsecsElapsed() / 1e9;
}

// The order the conversion reads the older lines in.
const QStringList kLineOrder{QStringLiteral("伝票番号"), QStringLiteral("伝票区分"), QStringLiteral("行番号"),
                             QStringLiteral("顧客名"), QStringLiteral("日付")};

// Of the run's time: reading the older lines in their order as the
// conversion reads them, as SQLite stores them (no value converted).
double readLinesSeconds(const QString& oldPath)
{
    LinkFile link;
    if (!link.open(oldPath)) return -1;
    QElapsedTimer t;
    t.start();
    qint64 rows = 0;
    const bool read = link.forEachRow(QStringLiteral("見積書"), kLineOrder, [&](LinkCursor&) { return ++rows, true; });
    return read ? t.nsecsElapsed() / 1e9 : -1;
}

// The same from a Jet file: its lines as rows, in that order, through the
// reader process.
double readJetLinesSeconds(const QString& oldPath)
{
    LinkFile link;
    QElapsedTimer t;
    t.start();
    qint64 rows = 0;
    const bool read = link.open(oldPath) && link.forEachRow(QStringLiteral("見積書"), kLineOrder, [&](LinkCursor&) {
        return ++rows, true;
    });
    return read ? t.nsecsElapsed() / 1e9 : -1;
}

// The peak resident set of the process so far.
long peakMegabytes()
{
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) return -1;
    return usage.ru_maxrss / 1024;
}

struct Run {
    double seconds = 0;
    QStringList steps;  // "text  seconds"
    QString message;
    bool ok = false;
};

Run convert(Session& session, RecordingPresenter& messages)
{
    Run run;
    FrmConversion window(session);
    window.show();
    QApplication::processEvents();
    const QLabel* label = control<QLabel>(window, "Lbl説明");
    QElapsedTimer total, step;
    QString current;
    const auto stepDone = [&] {
        if (!current.isEmpty()) run.steps << QStringLiteral("  %1 %2 s").arg(current).arg(step.nsecsElapsed() / 1e9, 6, 'f', 2);
    };
    QObject::connect(&window, &FrmConversion::progressShown, &window, [&](const QString& text) {
        stepDone();
        // What the user sees at this moment: the text on the label.
        current = label->text() == text ? text : QStringLiteral("(label not set) ") + text;
        step.start();
    });
    messages.setOnShow([&](const MessageBoxSpec&) {
        stepDone();
        current.clear();
    });
    messages.clear();
    total.start();
    window.ExecChg97to2000();
    run.seconds = total.nsecsElapsed() / 1e9;
    run.message = messages.texts().value(0);
    run.ok = messages.texts() == QStringList{QStringLiteral("コンバートが終了しました")} && run.steps.size() == 6;
    return run;
}

// Prints the run beside the floor; true when it met its target (when it has one).
bool print(const char* what, const Run& run, double floor, bool target)
{
    const double ratio = run.seconds / floor;
    const bool ok = run.ok && (!target || ratio <= kTargetRatio);
    std::printf("%-28s %7.2f s   SQLite alone %6.2f s   ratio %5.2f%s  %s\n", what, run.seconds, floor, ratio,
                target ? qPrintable(QStringLiteral(" (target <= %1)").arg(kTargetRatio)) : "",
                ok ? "ok" : (run.ok ? "OVER" : "FAILED"));
    for (const QString& s : run.steps) std::printf("%s\n", qPrintable(s));
    if (!run.ok) std::printf("  message: %s\n", qPrintable(run.message));
    return ok;
}

// A fresh data folder with its session and data file open, as the program has them.
struct Desk {
    Desk()
    {
        SessionOptions options;
        options.programFolder = folder.programFolder();
        options.driveRoot = folder.driveRoot();
        session.emplace(options);
        session->locateDataFolder();
        session->messages().setPresenter(&messages);
        opened = session->DataDb().open(session->DataDbPath(), Database::Role::Data);
    }
    QString oldPath() const { return session->DataFolder() + QStringLiteral("VeltData.mdb"); }
    int lines() { return session->DataDb().scalar(QStringLiteral("select count(*) from 見積書")).toInt(); }

    TestFolder folder;
    std::optional<Session> session;
    RecordingPresenter messages;
    bool opened = false;
};

// The Jet run: the same quotations in an Access 97 (Jet 3) older file, read
// through the reader process. True when it met its targets.
bool jetRun(int quotations)
{
    Desk desk;
    if (!desk.opened) return false;
    QElapsedTimer build;
    build.start();
    if (!OldDataFile::createLargeJet3(desk.oldPath(), quotations)) return false;
    std::printf("older Jet 3 file: the same rows (built in %.1f s)\n", build.nsecsElapsed() / 1e9);
    const Run jet = convert(*desk.session, desk.messages);
    const long peak = peakMegabytes();
    const int lines = desk.lines();
    const bool jetOk = jet.ok && jet.seconds <= kTargetJetSeconds && lines == quotations * 20;
    std::printf("%-28s %7.2f s   target <= %4.1f s  %s\n", "conversion from Jet 3", jet.seconds, kTargetJetSeconds,
                jetOk ? "ok" : (jet.ok ? "OVER" : "FAILED"));
    for (const QString& s : jet.steps) std::printf("%s\n", qPrintable(s));
    if (!jet.ok) std::printf("  message: %s\n", qPrintable(jet.message));
    std::printf("of which reading the older lines in their order takes %.2f s\n", readJetLinesSeconds(desk.oldPath()));
    std::printf("lines %d; peak memory of the Jet run %ld MB (target <= %ld MB)  %s\n", lines, peak, kTargetPeakMegabytes,
                peak <= kTargetPeakMegabytes ? "ok" : "OVER");
    return jetOk && peak <= kTargetPeakMegabytes;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool jetOnly = args.removeAll(QStringLiteral("--jet")) > 0;
    const int quotations = args.isEmpty() ? 10000 : args.first().toInt();
#ifdef VELT_JET_READER_PATH
    if (!qEnvironmentVariableIsSet("VELT_JET_READER")) qputenv("VELT_JET_READER", VELT_JET_READER_PATH);
#endif
    if (jetOnly) return jetRun(quotations) ? 0 : 1;

    bool ok = true;
    {
        Desk desk;
        if (!desk.opened) return 1;
        const QString oldPath = desk.oldPath();
        QElapsedTimer build;
        build.start();
        if (!OldDataFile::create(oldPath, oldRows(quotations))) return 1;
        std::printf("older SQLite file: %d quotations x 20 lines, 2,000 customers, 3,000 products (built in %.1f s)\n",
                    quotations, build.nsecsElapsed() / 1e9);

        const double floor = floorSeconds(oldPath);
        const double reading = readLinesSeconds(oldPath);
        const Run first = convert(*desk.session, desk.messages);
        const int lines = desk.lines();
        const Run second = convert(*desk.session, desk.messages);
        const int linesAfter = desk.lines();

        const bool firstOk = print("conversion into a new file", first, floor, true);
        const bool secondOk = print("the same again (updates)", second, floor, false);
        std::printf("of which reading the older lines in their order takes %.2f s each time\n", reading);
        const long peak = peakMegabytes();
        std::printf("lines after the first run %d, after the second %d; peak memory %ld MB (target <= %ld MB)  %s\n",
                    lines, linesAfter, peak, kTargetPeakMegabytes, peak <= kTargetPeakMegabytes ? "ok" : "OVER");
        ok = firstOk && secondOk && peak <= kTargetPeakMegabytes && lines == quotations * 20 && linesAfter == lines;
    }
    std::fflush(stdout);

    // The Jet run in a process of its own, its output beside this one's.
    QProcess jet;
    jet.setProcessChannelMode(QProcess::ForwardedChannels);
    jet.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--jet"), QString::number(quotations)});
    const bool jetOk = jet.waitForFinished(-1) && jet.exitStatus() == QProcess::NormalExit && jet.exitCode() == 0;
    if (jet.exitStatus() != QProcess::NormalExit) std::printf("the Jet run crashed\n");
    return ok && jetOk ? 0 : 1;
}
