#include "app/SharedRoutines.h"

#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/SearchPattern.h"
#include "app/Session.h"
#include "app/MessageCatalog.h"

#include <QColor>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLoggingCategory>
#include <QSqlRecord>
#include <QWidget>

Q_LOGGING_CATEGORY(lcShared, "velt.shared")

namespace {

const Decimal kLimit{999999999999, 2};  // 9999999999.99

// RoundAmount rounds an amount within ±9999999999.99 (both limits included).
bool withinRoundingLimits(const Decimal& amount)
{
    return amount.compare(kLimit) <= 0 && amount.compare(Decimal{-kLimit.units, kLimit.scale}) >= 0;
}

}  // namespace

Currency RoundAmount(const Decimal& a, const QString& mode)
{
    if (!withinRoundingLimits(a)) return Currency();
    Decimal shifted = a;
    const bool positive = a.sign() > 0;  // zero goes with the negative amounts
    if (mode == QStringLiteral("切り捨て")) {
        // The nudge kept from the binary-floating-point days is harmless on exact values
        // and keeps an amount a hair below a whole number on that number.
        if (positive) shifted = a + Decimal{1, 8};
    } else if (mode == QStringLiteral("四捨五入")) {
        shifted = positive ? a + Decimal{5, 1} : a - Decimal{5, 1};
    } else {
        shifted = positive ? a + Decimal{99999, 5} : a - Decimal{99999, 5};
    }
    return Currency::fromWhole(static_cast<int64_t>(shifted.truncated()));
}

// ---------------------------------------------------------------- code lists

CodeEntry AutoEntryCode(Database& db, const QString& kcode, const QString& value)
{
    if (value.isEmpty()) return CodeEntry::Failed;
    bool ok = false;
    const QList<QSqlRecord> codeRows =
        db.rows(QStringLiteral("SELECT rowid, sname FROM コードマスタ WHERE kcode = ? ORDER BY code, rowid"), {kcode}, &ok);
    if (!ok) {
        qCWarning(lcShared) << "code list" << kcode << "not read:" << db.lastError();
        return CodeEntry::Failed;
    }
    for (const QSqlRecord& r : codeRows) {
        const QVariant sname = r.value(1);
        if (!dbv::isNull(sname) && sname.toString() == value) return CodeEntry::AlreadyPresent;
    }
    for (const QSqlRecord& r : codeRows) {
        if (!dbv::isNull(r.value(1))) continue;
        // The slot must still be free when it is written.
        if (!db.exec(QStringLiteral("UPDATE コードマスタ SET sname = ? WHERE rowid = ? AND sname IS NULL"),
                     {value, r.value(0)})) {
            qCWarning(lcShared) << "code" << value << "of" << kcode << "not written:" << db.lastError();
            return CodeEntry::Failed;
        }
        return db.changes() == 1 ? CodeEntry::Added : CodeEntry::Failed;
    }
    return CodeEntry::ListFull;
}

bool RaiseQuotationCounter(Database& db, qint64 number, QString& error)
{
    Statement find(db, QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"));
    if (!find.run({})) {
        error = find.error();
        return false;
    }
    std::optional<Statement> write;
    QVariantList binds{number};
    if (find.query().next()) {
        const QVariant rowid = find.query().value(0);
        const QVariant stored = find.query().value(1);
        find.query().finish();
        bool whole = false;
        const qint64 current = dbv::text(stored).trimmed().toLongLong(&whole);
        if (whole && current >= number) return true;
        write.emplace(db, QStringLiteral("update 自社情報 set 最大見積書番号 = ? where rowid = ?"));
        binds << rowid;
    } else {
        write.emplace(db, QStringLiteral("insert into 自社情報 (最大見積書番号) values (?)"));
    }
    if (write->run(binds)) return true;
    error = write->error();
    return false;
}

// ---------------------------------------------------------------- postal codes

QString FormatPostalCode(const QString& value)
{
    if (value.isEmpty()) return QString();
    if (value.contains(QLatin1Char('-'))) return value;
    if (value.size() == 7) return value.left(3) + QLatin1Char('-') + value.right(4);
    return value;
}

QString LikeLiteral(const QString& text)
{
    QString e = text;
    e.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    e.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    e.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return e;
}

void AddContainsCondition(QStringList& conditions, QVariantList& binds, const QString& column, const QString& text)
{
    if (text.isEmpty()) return;
    // lower() folds A-Z only, on both sides alike.
    conditions << QStringLiteral("lower(%1) like lower(?) escape '\\'").arg(Database::quoteIdent(column));
    binds << QLatin1Char('%') + SearchLikePattern(text) + QLatin1Char('%');
}

std::optional<QString> LookUpPostalBlock(Session& session)
{
    if (!QFileInfo::exists(session.PostalDictionaryPath())) {
        session.messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("ファイルなし"), QStringLiteral("郵便番号辞書"));
        return std::nullopt;
    }
    auto lookup = session.createPostalLookup();
    if (!lookup) return std::nullopt;
    lookup->setDataFile(session.DataDbPath());
    lookup->setDictionaryFile(session.PostalDictionaryPath());
    lookup->show();
    lookup->takeResult();
    const QString code = lookup->postalCode();
    if (code.isEmpty()) return std::nullopt;
    return QStringLiteral("〒") + FormatPostalCode(code) + QStringLiteral("\r\n") + lookup->address();
}

// ---------------------------------------------------------------- input method

void SetImeOpen(QWidget* w, bool open)
{
    if (!w) return;
    if (auto* grid = qobject_cast<GridView*>(w)) {
        grid->setInputMethodEnabled(open);
        return;
    }
    w->setAttribute(Qt::WA_InputMethodEnabled, open);
    Qt::InputMethodHints hints = w->inputMethodHints();
    hints &= ~(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    if (!open) hints |= Qt::ImhPreferLatin | Qt::ImhLatinOnly;
    w->setInputMethodHints(hints);
    if (w->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

// ---------------------------------------------------------------- dialogs

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

QString PackColumnCaption(const QString& title)
{
    if (title.isEmpty() || title == QStringLiteral("入数")) return QStringLiteral("入　数");
    if (title == QStringLiteral("規格")) return QStringLiteral("規　格");
    return title;
}

void ShowCellWriteFailures(WorkTableModel* model, const MessageCatalog& messages)
{
    // Queued: a box opened inside the grid's commit would take the focus from
    // the editor that is still being closed.
    QObject::connect(
        model, &WorkTableModel::writeFailed, model,
        [&messages](int, int, const QString& error) {
            messages.ShowFailure(QStringLiteral("入力した値を書き込めませんでした。セルは元の値のままです。"), error);
        },
        Qt::QueuedConnection);
}
