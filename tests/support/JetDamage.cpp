#include "support/JetDamage.h"

#include <QFile>
#include <QtEndian>

namespace jet {

QList<Damage> allDamages() { return {Damage::CatalogByte, Damage::ZeroedPage, Damage::Truncated}; }

QString nameOf(Damage damage)
{
    switch (damage) {
    case Damage::CatalogByte: return QStringLiteral("a flipped catalog byte");
    case Damage::ZeroedPage: return QStringLiteral("a zeroed data page");
    case Damage::Truncated: return QStringLiteral("truncated");
    case Damage::EmptyDefinition: return QStringLiteral("an emptied table definition");
    }
    return {};
}

bool flipByte(const QString& path, qint64 offset)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || !f.seek(offset)) return false;
    char c = 0;
    if (!f.getChar(&c) || !f.seek(offset)) return false;
    return f.putChar(static_cast<char>(c ^ 0xff));
}

bool zeroPage(const QString& path, int page, int pageSize)
{
    QFile f(path);
    const qint64 at = static_cast<qint64>(page) * pageSize;
    if (!f.open(QIODevice::ReadWrite) || at + pageSize > f.size() || !f.seek(at)) return false;
    return f.write(QByteArray(pageSize, '\0')) == pageSize;
}

bool truncateFile(const QString& path, qint64 size)
{
    QFile f(path);
    return f.exists() && size >= 0 && size < f.size() && f.resize(size);
}

bool emptyDefinition(const QString& path, const Layout& layout, const QString& table)
{
    if (!layout.definitionPage.contains(table)) return false;
    const bool jet3 = layout.pageSize == 2048;
    const qint64 at = static_cast<qint64>(layout.definitionPage.value(table)) * layout.pageSize;
    const int rowCountAt = jet3 ? 12 : 16;
    const int columnCountsAt = jet3 ? 21 : 41;  // the most columns, variable columns, columns
    QFile f(path);
    if (!f.open(QIODevice::ReadWrite) || at + layout.pageSize > f.size()) return false;
    return f.seek(at + rowCountAt) && f.write(QByteArray(4, '\0')) == 4 && f.seek(at + columnCountsAt) &&
           f.write(QByteArray(6, '\0')) == 6;
}

qint64 catalogIdOffset(const QString& path, const Layout& layout, const QString& table)
{
    if (!layout.definitionPage.contains(table)) return -1;
    const quint32 id = static_cast<quint32>(layout.definitionPage.value(table));
    const bool jet3 = layout.pageSize == 2048;
    const int rowCountAt = jet3 ? 8 : 12;
    const int offsetsAt = jet3 ? 10 : 14;
    const int idAt = jet3 ? 1 : 2;  // after the row's column count; Id is the first fixed column
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (int page : layout.catalogPages) {
        if (!f.seek(static_cast<qint64>(page) * layout.pageSize)) return -1;
        const QByteArray p = f.read(layout.pageSize);
        if (p.size() != layout.pageSize) return -1;
        const int rows = qFromLittleEndian<quint16>(p.constData() + rowCountAt);
        for (int r = 0; r < rows; ++r) {
            const int start = qFromLittleEndian<quint16>(p.constData() + offsetsAt + 2 * r) & 0x1fff;
            if (start + idAt + 4 > layout.pageSize) continue;
            if (qFromLittleEndian<quint32>(p.constData() + start + idAt) == id)
                return static_cast<qint64>(page) * layout.pageSize + start + idAt;
        }
    }
    return -1;
}

bool damage(const QString& path, const Layout& layout, const QString& table, Damage damage)
{
    const QList<int> pages = layout.dataPages.value(table);
    switch (damage) {
    case Damage::CatalogByte: {
        const qint64 at = catalogIdOffset(path, layout, table);
        return at >= 0 && flipByte(path, at);
    }
    case Damage::ZeroedPage:
        return !pages.isEmpty() && zeroPage(path, pages.first(), layout.pageSize);
    case Damage::Truncated:
        return !pages.isEmpty()
               && truncateFile(path, static_cast<qint64>(pages.last()) * layout.pageSize + layout.pageSize / 2);
    case Damage::EmptyDefinition:
        return emptyDefinition(path, layout, table);
    }
    return false;
}

}  // namespace jet
