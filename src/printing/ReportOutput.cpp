#include "printing/ReportOutput.h"

#include "printing/ReportRender.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

void QtReportOutput::preview(std::shared_ptr<const ReportDocument> pages, const QString& title)
{
    previews_.removeAll(nullptr);
    previews_.append(ReportRender::showPreview(std::move(pages), owner_, title));
}

void QtReportOutput::closePreviews()
{
    // Each window deletes itself when closed.
    for (const QPointer<QPrintPreviewDialog>& p : std::as_const(previews_))
        if (p) p->close();
    previews_.clear();
}

bool QtReportOutput::print(std::shared_ptr<const ReportDocument> pages)
{
    QPrinter printer(QPrinter::HighResolution);
    ReportRender::setUpPrinter(printer, *pages);
    QPrintDialog dialog(&printer, owner_);
    dialog.setMinMax(1, int(pages->pages.size()));
    if (dialog.exec() != QDialog::Accepted) return false;
    return ReportRender::print(*pages, printer);
}
