#pragma once
// Where built pages go: the preview window and the printer, behind one
// interface so that tests can put a recorder in their place (there is no
// printer to ask here).

#include "printing/ReportDocument.h"

#include <QList>
#include <QPointer>
#include <memory>

class QPrintPreviewDialog;
class QWidget;

class ReportOutput {
public:
    virtual ~ReportOutput() = default;
    // Shows the pages in a preview window and returns at once; the window
    // keeps its own share of the pages, so it shows and prints them whatever
    // runs after it.
    virtual void preview(std::shared_ptr<const ReportDocument> pages, const QString& title) = 0;
    // Asks the user for the printer, then prints the pages. False when the
    // user cancelled or the printer could not be printed on.
    virtual bool print(std::shared_ptr<const ReportDocument> pages) = 0;
};

// Qt's print preview (non-modal, owned by `owner`, closed with it) and print
// dialog; the print dialog also offers a PDF file in place of a printer.
class QtReportOutput : public ReportOutput {
public:
    explicit QtReportOutput(QWidget* owner = nullptr) : owner_(owner) {}
    void preview(std::shared_ptr<const ReportDocument> pages, const QString& title) override;
    bool print(std::shared_ptr<const ReportDocument> pages) override;
    // Closes the preview windows still open (with the main window).
    void closePreviews();

private:
    QPointer<QWidget> owner_;
    QList<QPointer<QPrintPreviewDialog>> previews_;
};
