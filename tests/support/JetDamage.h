#pragma once
// Damaged copies of Jet files made by the test writer (support/JetWriter.h),
// for tests that a damaged file ends a read with a message: a byte of the
// catalog flipped, a data page zeroed, the file cut short; and a table
// definition emptied, which the reader hands over as a table without
// columns and rows.

#include "support/JetWriter.h"

#include <QList>
#include <QString>

namespace jet {

enum class Damage {
    CatalogByte,  // the catalog entry of the table points at another page
    ZeroedPage,   // the table's first data page is all zeros
    Truncated,    // the file ends in the middle of the table's last data page
    EmptyDefinition,  // the table's definition counts no columns and no rows
};

// The damages the reader reports as a damaged file, for _data tables, and a
// name for every damage.
QList<Damage> allDamages();
QString nameOf(Damage damage);

// Damages the file at path (written with the given layout) where the table
// lives. False when the file or the table's pages cannot be found.
bool damage(const QString& path, const Layout& layout, const QString& table, Damage damage);

// The plain operations behind it.
bool flipByte(const QString& path, qint64 offset);
bool zeroPage(const QString& path, int page, int pageSize);
bool truncateFile(const QString& path, qint64 size);
bool emptyDefinition(const QString& path, const Layout& layout, const QString& table);
// The file offset of the first byte of the Id (its table definition page) in
// the catalog row of the table; -1 when not found.
qint64 catalogIdOffset(const QString& path, const Layout& layout, const QString& table);

}  // namespace jet
