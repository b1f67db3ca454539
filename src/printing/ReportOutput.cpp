#include "printing/ReportOutput.h"

#include "printing/ReportRender.h"

#include <QPrintDialog>
#include <QPrinter>

void QtReportOutput::preview(std::shared_ptr<const ReportDocument> pages, const QString& title)
{
    ReportRender::showPreview(std::move(pages), owner_, title);
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
