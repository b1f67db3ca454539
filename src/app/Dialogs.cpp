#include "app/Dialogs.h"

#include "app/Session.h"

#include <QColor>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

QString QtDialogProvider::openFile(QWidget* owner, const QString& title, const QString& folder,
                                   const QStringList& nameFilters, int selectedFilter)
{
    QFileDialog dialog(owner, title, folder);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        if (selectedFilter >= 0 && selectedFilter < nameFilters.size()) dialog.selectNameFilter(nameFilters[selectedFilter]);
    }
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

std::optional<int> QtDialogProvider::chooseColor(QWidget* owner, int startColour)
{
    // The custom colours start white at every call; picks are not kept.
    for (int i = 0; i < QColorDialog::customCount(); ++i) QColorDialog::setCustomColor(i, QColor(Qt::white));
    const QColor c = QColorDialog::getColor(ColourFromWindows(startColour), owner);
    if (!c.isValid()) return std::nullopt;
    return WindowsColour(c);
}

QStringList NameFiltersFromFilter(const QString& filter)
{
    if (filter.size() < 2) return {};
    QStringList parts = filter.split(QLatin1Char('|'));
    if (filter.endsWith(QLatin1Char('|'))) parts.removeLast();
    QStringList result;
    for (int i = 0; i < parts.size(); i += 2) {
        const QString display = parts[i];
        // A display text without its pattern is taken as its own pattern.
        QString pattern = i + 1 < parts.size() ? parts[i + 1] : display;
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << QStringLiteral("%1 (%2)").arg(display, pattern.trimmed());
    }
    return result;
}

int ShowOpenFileDialog(Session& session, QWidget* owner, FileDialogRecord& record)
{
    const QString folder = record.InitDir.isEmpty() ? QString() : session.mapDrivePath(record.InitDir);
    const QString path = session.dialogs().openFile(owner, record.DialogTitle, folder,
                                                            NameFiltersFromFilter(record.Filter), record.FilterIndex - 1);
    if (path.isEmpty()) {
        record.FileName.clear();
        record.FileTitle.clear();
        return 0;
    }
    record.FileName = path;
    record.FileTitle = QFileInfo(path).fileName();
    return 1;
}

int ShowColorDialog(Session& session, QWidget* owner, int startColour)
{
    const std::optional<int> c = session.dialogs().chooseColor(owner, startColour);
    return c ? *c : -1;
}

int WindowsColour(const QColor& c) { return c.red() + c.green() * 256 + c.blue() * 65536; }

QColor ColourFromWindows(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
