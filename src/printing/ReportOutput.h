#pragma once
// Where built pages go: the preview window and the printer, behind one
// interface so that tests can put a recorder in their place (there is no
// printer to ask here).

#include "printing/ReportDocument.h"

#include <QList>
#include <QPointer>
#include <memory>

class QPrintPreviewDialog;
class QPrinter;
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

// The print dialog, behind an interface so that tests can choose a printer
// without a user.
class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    // Lets the user choose the printer (or a PDF file), the pages out of
    // 1..pageCount and the copies on `printer`, which is already set to the
    // report's paper. False when the user cancelled.
    virtual bool choose(QPrinter& printer, int pageCount, QWidget* owner) = 0;
};

// Qt's print dialog; it also offers a PDF file in place of a printer.
class QtPrintDialog : public PrintDialog {
public:
    bool choose(QPrinter& printer, int pageCount, QWidget* owner) override;
};

// Qt's print preview (non-modal, owned by `owner`, closed with it) and the
// print dialog. The preview opens on most of the screen's height with the
// whole page in view and its whole toolbar shown.
class QtReportOutput : public ReportOutput {
public:
    explicit QtReportOutput(QWidget* owner = nullptr) : owner_(owner) {}
    void preview(std::shared_ptr<const ReportDocument> pages, const QString& title) override;
    bool print(std::shared_ptr<const ReportDocument> pages) override;
    // Closes the preview windows still open (with the main window).
    void closePreviews();
    // The print dialog print() asks (nullptr: Qt's); not owned.
    void setPrintDialog(PrintDialog* dialog) { dialog_ = dialog; }

private:
    QPointer<QWidget> owner_;
    QList<QPointer<QPrintPreviewDialog>> previews_;
    QtPrintDialog qtDialog_;
    PrintDialog* dialog_ = nullptr;
};
