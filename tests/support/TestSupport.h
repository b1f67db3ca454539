#pragma once
// Test fixture: a fresh copy of the shipped database files in a temporary
// program folder per test, a temporary drive root for the original's fixed
// drive paths, and a recording message presenter.

#include "MessagePresenter.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TestData {
public:
    // copyFiles: which of the shipped files to put into the data folder
    // (default: all three).
    explicit TestData(const QStringList& copyFiles = allFiles());
    ~TestData();

    static QStringList allFiles();
    static QString builtDataDir();

    bool isValid() const { return dir_.isValid(); }
    QString root() const { return dir_.path(); }
    // <root>/prog: the program folder; its data folder is <root>/prog/data/.
    QString programFolder() const;
    QString dataFolder() const;  // ends with '/'
    QString dataDbPath() const { return dataFolder() + QStringLiteral("VeltData2K.mdb"); }
    QString workDbPath() const { return dataFolder() + QStringLiteral("VeltWork2K.mdb"); }
    QString postalPath() const { return dataFolder() + QStringLiteral("yubin2000.mdb"); }
    QString driveRoot() const;

    RecordingPresenter& messages() { return presenter_; }

    // Copies a shipped file to dest (any path). The postal dictionary is a
    // small one with the same schema and the codes 100xxxx (Tokyo Chiyoda),
    // 530xxxx (Osaka Kita) and 900xxxx (Naha) of the shipped one, which
    // builtDataDir() holds whole.
    static bool copyShipped(const QString& name, const QString& dest);
    static QString shippedSource(const QString& name);

private:
    QTemporaryDir dir_;
    RecordingPresenter presenter_;
    std::unique_ptr<ScopedPresenter> guard_;
};
