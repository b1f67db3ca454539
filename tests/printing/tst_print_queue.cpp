// A quotation printed through the print road to a real print queue: the
// print panel, the confirmation, the print dialog (here a stand-in that picks
// the queue, as a user would) and CUPS. The queue is a PDF printer of the
// test's own (cups-pdf), added at the start and removed at the end; the PDF
// it writes is checked for its pages, its paper and what they show.
//
// It needs a running CUPS scheduler that lets this user add a queue
// (`bash scripts/velt.sh test` starts one); where there is none it says so
// and skips.
#include "PrintSamples.h"
#include "platform/Controls.h"
#include "platform/WorkTableModel.h"
#include "printing/PrintHandOver.h"
#include "printing/ReportRender.h"
#include "support/FindControl.h"
#include "support/MainWindowFixture.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QDir>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QtTest>
#include <QRegularExpression>
#include <cerrno>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

namespace {

struct ToolResult {
    bool ok = false;
    QString output;  // standard output and error
};

ToolResult runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // The tools' messages are read: in English, whatever the user's language.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(program, args);
    const bool finished = p.waitForFinished(30000);
    return {finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
            QString::fromLocal8Bit(p.readAll()) + (finished ? QString() : p.errorString())};
}

// The folder cups-pdf writes this user's jobs into: its setting "Out"
// (${HOME} and ${USER} are the job owner's), or its built-in default.
QString cupsPdfFolder()
{
    const passwd* user = ::getpwuid(::getuid());
    const QString name = user ? QString::fromLocal8Bit(user->pw_name) : QString();
    const QString home = user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromLocal8Bit(conf.readAll()).split(QLatin1Char('\n'))) {
            const QString l = line.trimmed();
            if (l.startsWith(QStringLiteral("Out ")) || l.startsWith(QStringLiteral("Out\t"))) out = l.mid(4).trimmed();
        }
    }
    out.replace(QStringLiteral("${HOME}"), home).replace(QStringLiteral("${USER}"), name);
    return out;
}

// Stands in for the user in the print dialog: chooses the queue and names
// the job, so that the queue's PDF can be found.
class QueueChoice : public PrintDialog {
public:
    bool choose(QPrinter& printer, int pageCount, QWidget*) override
    {
        pagesOffered = pageCount;
        printer.setPrinterName(queue);
        printer.setDocName(jobName);
        return true;
    }
    QString queue;
    QString jobName;
    int pagesOffered = 0;
};

// Keeps the pages a preview run built.
class PreviewRecorder : public ReportOutput {
public:
    void preview(std::shared_ptr<const ReportDocument> p, const QString&) override { pages = std::move(p); }
    bool print(std::shared_ptr<const ReportDocument>) override { return false; }
    std::shared_ptr<const ReportDocument> pages;
};

// A page as a coarse grid of darkness (0 white .. 1 black), whatever its
// resolution, for a comparison that a shift of a pixel or two does not upset.
QList<double> darknessGrid(const QImage& page, int columns, int rows)
{
    const QImage small = page.convertToFormat(QImage::Format_Grayscale8)
                             .scaled(columns, rows, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QList<double> out;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) out << 1.0 - qGray(small.pixel(x, y)) / 255.0;
    return out;
}

double sum(const QList<double>& v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

// Pearson correlation of two grids: 1 for the same picture, near 0 for
// unrelated ones (and for a blank page).
double correlation(const QList<double>& a, const QList<double>& b)
{
    const double ma = sum(a) / a.size();
    const double mb = sum(b) / b.size();
    double ab = 0, aa = 0, bb = 0;
    for (int i = 0; i < a.size(); ++i) {
        ab += (a[i] - ma) * (b[i] - mb);
        aa += (a[i] - ma) * (a[i] - ma);
        bb += (b[i] - mb) * (b[i] - mb);
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

// A run that was killed (a time-out, a crash) left its queue behind: remove
// the test queues whose process has ended, so they do not pile up.
void removeQueuesOfEndedRuns()
{
    static const QRegularExpression ours(QStringLiteral("^device for (velt-test-(\\d+)):"),
                                         QRegularExpression::MultilineOption);
    const ToolResult listed = runTool(QStringLiteral("lpstat"), {QStringLiteral("-v")});
    for (auto it = ours.globalMatch(listed.output); it.hasNext();) {
        const auto m = it.next();
        const pid_t pid = pid_t(m.captured(2).toLongLong());
        if (pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH)) continue;
        runTool(QStringLiteral("cancel"), {QStringLiteral("-a"), m.captured(1)});
        runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), m.captured(1)});
    }
}

}  // namespace

class TestPrintQueue : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void quotationOnTheQueue_data();
    void quotationOnTheQueue();

private:
    QString queue_;
    QStringList written_;  // the queue's PDFs, removed at the end
};

void TestPrintQueue::initTestCase()
{
    const ToolResult scheduler = runTool(QStringLiteral("lpstat"), {QStringLiteral("-r")});
    if (!scheduler.output.contains(QStringLiteral("scheduler is running")))
        QSKIP(qPrintable(QStringLiteral("No CUPS scheduler is running here (%1); `bash scripts/velt.sh test` starts "
                                        "one. The print-queue test is skipped.")
                             .arg(scheduler.output.trimmed())));
    const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
    if (!QFile::exists(ppd)) QSKIP("cups-pdf (printer-driver-cups-pdf) is not installed: the print-queue test is skipped.");
    removeQueuesOfEndedRuns();
    queue_ = QStringLiteral("velt-test-%1").arg(QCoreApplication::applicationPid());
    const ToolResult added = runTool(QStringLiteral("lpadmin"), {QStringLiteral("-p"), queue_, QStringLiteral("-E"),
                                                                 QStringLiteral("-v"), QStringLiteral("cups-pdf:/"),
                                                                 QStringLiteral("-P"), ppd});
    if (!added.ok) {
        const QString why = added.output.trimmed();
        queue_.clear();
        QSKIP(qPrintable(QStringLiteral("The test's print queue cannot be added (%1): skipped.").arg(why)));
    }
}

void TestPrintQueue::cleanupTestCase()
{
    if (!queue_.isEmpty()) {
        runTool(QStringLiteral("cancel"), {QStringLiteral("-a"), queue_});
        const ToolResult removed = runTool(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue_});
        if (!removed.ok) qWarning() << "the test queue" << queue_ << "was not removed:" << removed.output;
    }
    for (const QString& pdf : std::as_const(written_)) QFile::remove(pdf);
}

void TestPrintQueue::quotationOnTheQueue_data()
{
    QTest::addColumn<QString>("paper");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QSizeF>("millimetres");
    // 12 lines: one A4 page of 15 rows, two B5 pages of 10.
    QTest::newRow("A4白紙") << QStringLiteral("A4白紙") << 1 << QSizeF(210, 297);
    QTest::newRow("B5白紙: JIS B5") << QStringLiteral("B5白紙") << 2 << QSizeF(182, 257);
}

void TestPrintQueue::quotationOnTheQueue()
{
    // A quotation of 12 lines on screen.
    MainWindowFixture f;
    QVERIFY(f.open());
    QuotationTab& q = f.quotation();
    control<QLineEdit>(q, "txtNo")->setText(QStringLiteral("41"));
    control<TextComboBox>(q, "cmb顧客名")->setText(QStringLiteral("山田商店"));
    for (int n = 1; n <= 12; ++n)
        QVERIFY(f.work().exec(QStringLiteral("UPDATE w明細 SET 品名 = ?, 金額 = ? WHERE 行番号 = ?"),
                              {QStringLiteral("品目%1").arg(n), Currency::toDb(Currency::fromWhole(100 * n)), n}));
    control<WorkTableModel>(q, "wkDat")->refresh();
    QFETCH(QString, paper);
    QFETCH(int, pages);
    QFETCH(QSizeF, millimetres);
    const auto runPanel = [&](bool print) {
        control<QPushButton>(q, "cmd印刷")->click();
        control<PickOnlyComboBox>(q, "cmb用紙選択")->setText(paper);
        (print ? control<QPushButton>(q, "cmd印刷実行") : control<QPushButton>(q, "cmdプレビュー"))->click();
    };

    // What the preview shows.
    PreviewRecorder previewed;
    f.window.printing().setOutput(&previewed);
    runPanel(false);
    QVERIFY(previewed.pages);
    QCOMPARE(int(previewed.pages->pages.size()), pages);

    // Printed: 印刷実行, はい, the queue chosen in the print dialog.
    QueueChoice choice;
    choice.queue = queue_;
    // cups-pdf names the file after the job: ASCII only.
    choice.jobName = QStringLiteral("%1-%2").arg(queue_, paper.left(2));
    QtReportOutput printer(&f.window);
    printer.setPrintDialog(&choice);
    f.window.printing().setOutput(&printer);
    f.messages.setDefaultAnswer(MessageAnswer::Yes);
    runPanel(true);
    QCOMPARE(f.messages.texts(), QStringList{QStringLiteral("見積書を印刷します。よろしいですか")});
    QCOMPARE(choice.pagesOffered, pages);

    // The queue has written its PDF once the job has left it.
    const QDir folder(cupsPdfFolder());
    const QString pattern = choice.jobName + QStringLiteral("*.pdf");
    QTRY_VERIFY2_WITH_TIMEOUT(!folder.entryList({pattern}, QDir::Files).isEmpty() &&
                                  runTool(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue_}).output.trimmed().isEmpty(),
                              qPrintable(QStringLiteral("no %1 in %2").arg(pattern, folder.path())), 90000);
    const QStringList found = folder.entryList({pattern}, QDir::Files);
    QCOMPARE(found.size(), 1);
    const QString pdf = folder.filePath(found.first());
    written_ << pdf;

    QString error;
    const PdfProbe::Info info = PdfProbe::info(pdf, &error);
    QVERIFY2(info.pages > 0, qPrintable(error));
    QCOMPARE(info.pages, pages);
    // The paper within 1 mm (a queue rounds its sizes to whole points; ISO B5
    // is 176 × 250 mm).
    const QSizeF printedMm = info.pageSize * (25.4 / 72);
    QVERIFY2(std::abs(printedMm.width() - millimetres.width()) < 1 && std::abs(printedMm.height() - millimetres.height()) < 1,
             qPrintable(QStringLiteral("%1 × %2 mm").arg(printedMm.width()).arg(printedMm.height())));

    // Every page shows what the preview's page shows: the same picture at a
    // coarse grid, with about the same ink (the queue draws hairlines and
    // small glyphs a little darker than the preview's smoothed drawing; a
    // blank or half-drawn page has far less).
    constexpr int kDpi = 50;
    for (int i = 0; i < pages; ++i) {
        const QImage queued = PdfProbe::page(pdf, i + 1, kDpi, &error);
        QVERIFY2(!queued.isNull(), qPrintable(error));
        QVERIFY2(std::abs(queued.width() - qRound(millimetres.width() / 25.4 * kDpi)) <= 2 &&
                     std::abs(queued.height() - qRound(millimetres.height() / 25.4 * kDpi)) <= 2,
                 qPrintable(QStringLiteral("page %1: %2 × %3 px").arg(i + 1).arg(queued.width()).arg(queued.height())));
        const QImage shown = ReportRender::pageImage(*previewed.pages, i, kDpi);
        const QList<double> a = darknessGrid(queued, 36, 50);
        const QList<double> b = darknessGrid(shown, 36, 50);
        const double match = correlation(a, b);
        const double ink = sum(a) / sum(b);
        QVERIFY2(match > 0.9 && ink > 0.75 && ink < 2,
                 qPrintable(QStringLiteral("page %1: correlation %2, ink %3 of the preview's").arg(i + 1).arg(match).arg(ink)));
        // The other page of the preview is a worse match: the page is this one.
        if (pages > 1) {
            const QList<double> other = darknessGrid(ReportRender::pageImage(*previewed.pages, (i + 1) % pages, kDpi), 36, 50);
            QVERIFY(correlation(a, other) < match);
        }
    }
}

QTEST_MAIN(TestPrintQueue)
#include "tst_print_queue.moc"
