#pragma once
// The file-open and colour dialogs behind one replaceable interface (the
// session holds the one in use, tests answer them), and Windows colour values.

#include <QString>
#include <QStringList>
#include <optional>

class QColor;
class QWidget;
class Session;

// The record of the file-open dialog: the caller fills the inputs, the dialog
// writes FileName and FileTitle.
struct FileDialogRecord {
    QString Filter;        // in: "display|pattern|display|pattern|..."
    int FilterIndex = 1;   // in: 1-based index of the filter shown first
    QString DialogTitle;   // in
    QString spare;
    QString FileName;      // out: full path, "" when cancelled
    QString FileTitle;     // out: file name without folder
    QString InitDir;       // in: folder the dialog opens in (a drive path is mapped)
};

// The dialogs behind one interface, so that tests can answer them; the
// session holds the one in use.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // The chosen existing file's path, "" on cancel. nameFilters in Qt's form
    // ("Text (pattern ...)"); empty lists all files.
    virtual QString openFile(QWidget* owner, const QString& title, const QString& folder,
                             const QStringList& nameFilters, int selectedFilter) = 0;
    // The chosen colour as a Windows colour value; nothing on cancel.
    virtual std::optional<int> chooseColor(QWidget* owner, int startColour) = 0;
};

class QtDialogProvider : public DialogProvider {
public:
    QString openFile(QWidget* owner, const QString& title, const QString& folder, const QStringList& nameFilters,
                     int selectedFilter) override;
    std::optional<int> chooseColor(QWidget* owner, int startColour) override;
};

// "MDB ファイル(*.mdb)|moxeldata.mdb|" -> {"MDB ファイル(*.mdb) (moxeldata.mdb)"};
// a filter shorter than two characters gives no filter (all files).
QStringList NameFiltersFromFilter(const QString& filter);

// Shows the session's file-open dialog; nonzero when a file was chosen
// (FileName and FileTitle set), 0 on cancel (both emptied). A drive path in
// InitDir is mapped under the session's drive root.
int ShowOpenFileDialog(Session& session, QWidget* owner, FileDialogRecord& record);

// Shows the session's colour dialog (16 white custom colours every time); the
// colour as R + G·256 + B·65536, or -1 on cancel.
int ShowColorDialog(Session& session, QWidget* owner, int startColour);

// Windows colour value <-> QColor.
int WindowsColour(const QColor& c);
QColor ColourFromWindows(int value);
