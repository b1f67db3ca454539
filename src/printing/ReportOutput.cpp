#include "printing/ReportOutput.h"

#include "printing/ReportRender.h"

#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

namespace {

// Sizes a preview so that a whole page can be read: most of the available
// height of the screen it opens on, as wide as the fitted page (Qt's preview
// opens with the page fitted) and never narrower than its toolbar, so that no
// button hides behind the toolbar's overflow; centred on that screen.
void sizeToScreen(QPrintPreviewDialog& dialog, const ReportDocument& doc, QWidget* owner)
{
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    // Room left for the window's title bar and frame.
    const int height = std::min(available.height() * 9 / 10, available.height() - 40);
    const QToolBar* toolbar = dialog.findChild<QToolBar*>();
    const QSize bar = toolbar ? toolbar->sizeHint() : QSize();
    // The preview keeps a margin around the page, and a vertical scroll bar
    // may take part of its width.
    constexpr int kPageMargin = 30;
    const QSizeF paper = doc.paperTwips();
    const int pageWidth =
        qRound((height - bar.height() - 2 * kPageMargin) * paper.width() / paper.height()) + 2 * kPageMargin;
    const int width = std::min(std::max(pageWidth, bar.width() + 2 * kPageMargin), available.width());
    dialog.resize(width, height);
    dialog.move(available.x() + (available.width() - width) / 2,
                available.y() + std::max(0, (available.height() - height) / 2 - 20));
}

}  // namespace

bool QtPrintDialog::choose(QPrinter& printer, int pageCount, QWidget* owner)
{
    QPrintDialog dialog(&printer, owner);
    dialog.setMinMax(1, pageCount);
    return dialog.exec() == QDialog::Accepted;
}

void QtReportOutput::preview(std::shared_ptr<const ReportDocument> pages, const QString& title)
{
    previews_.removeAll(nullptr);
    const ReportDocument& doc = *pages;
    QPrintPreviewDialog* dialog = ReportRender::showPreview(std::move(pages), owner_, title);
    sizeToScreen(*dialog, doc, owner_);
    previews_.append(dialog);
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
    PrintDialog& dialog = dialog_ ? *dialog_ : qtDialog_;
    if (!dialog.choose(printer, int(pages->pages.size()), owner_)) return false;
    return ReportRender::print(*pages, printer);
}
