// Run by hand: ./bench_report [runs] [pdf]
// A 100-line quotation (with subtotal lines and a long product name) on A4:
// the median time to build its pages (the display list) and the median time to
// write them as a PDF, printed apart, and the size of the PDF. Targets: both
// together within 300 ms, the write within 3 times the build, the PDF within
// 160 KB. The PDF of the last run is kept at the path given (default: a
// temporary file).
#include "PrintSamples.h"
#include "printing/ReportRender.h"
#include "printing/RptQuotationA4.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    QTemporaryDir tmp;
    const QString pdf = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.filePath(QStringLiteral("a4.pdf"));

    const PrintSample sample = PrintSamples::quotation(100);
    std::vector<double> build, write;
    QElapsedTimer t;
    int pages = 0;
    for (int i = 0; i < runs; ++i) {
        t.start();
        Rpt見積書A401 report(sample.data, sample.print, sample.settings);
        const ReportDocument doc = report.build(sample.lines);
        build.push_back(t.nsecsElapsed() / 1e6);
        t.start();
        QString error;
        if (!ReportRender::writePdf(doc, pdf, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        write.push_back(t.nsecsElapsed() / 1e6);
        pages = int(doc.pages.size());
    }
    const double b = median(build), w = median(write);
    std::printf("100-line A4 quotation, %d pages, median of %d runs\n", pages, runs);
    std::printf("  display list: %8.1f ms\n", b);
    std::printf("  PDF write:    %8.1f ms\n", w);
    std::printf("  together:     %8.1f ms (target <= 300 ms) %s\n", b + w, b + w <= 300 ? "ok" : "TOO SLOW");
    std::printf("  write/build:  %8.1f    (target <= 3) %s\n", w / b, w <= 3 * b ? "ok" : "TOO SLOW");
    const double kb = QFileInfo(pdf).size() / 1024.0;
    std::printf("  PDF size:     %8.1f KB (target <= 160 KB) %s\n", kb, kb <= 160 ? "ok" : "TOO LARGE");
    std::printf("  first run:    %8.1f ms build, %8.1f ms write\n", build.front(), write.front());
    if (argc > 2) std::printf("PDF: %s\n", qPrintable(QDir::toNativeSeparators(pdf)));
    return 0;
}
