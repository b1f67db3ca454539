#include "platform/Failure.h"

#include <sqlite3.h>

Failure Failure::sqlite(int resultCode, const QString& text)
{
    const QString engine = QStringLiteral("SQLite %1: %2").arg(resultCode).arg(text.trimmed());
    return because(ReasonOfSqliteCode(resultCode), engine);
}

Failure Failure::sqlite(sqlite3* connection)
{
    if (!connection) return Failure({}, QStringLiteral("no SQLite connection"));
    return sqlite(sqlite3_extended_errcode(connection), QString::fromUtf8(sqlite3_errmsg(connection)));
}

Failure Failure::because(FailureReason reason, const QString& engineWords)
{
    return Failure(ReasonSentence(reason), engineWords, reason);
}

Failure& Failure::prepend(const QString& words)
{
    if (words.isEmpty()) return *this;
    said = said.isEmpty() ? words : words + QLatin1Char('\n') + said;
    return *this;
}

QString Failure::logText() const
{
    QString line = said;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!engine.isEmpty()) line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + QLatin1Char('[') + engine + QLatin1Char(']');
    return line;
}

QString ReasonSentence(FailureReason reason)
{
    switch (reason) {
    case FailureReason::None:
        return {};
    case FailureReason::DiskFull:
        return QStringLiteral("ディスクの空き容量が足りません。空き容量を増やしてから、もう一度やり直してください。");
    case FailureReason::InUse:
        return QStringLiteral("ファイルがほかのプログラムで使用中です。そのプログラムを閉じてから、もう一度やり直してください。");
    case FailureReason::Damaged:
        return QStringLiteral("ファイルが壊れている可能性があります。バックアップのコピーから元に戻してください。");
    case FailureReason::NotWritable:
        return QStringLiteral("ファイルまたはフォルダに書き込めません。読み取り専用になっていないか、書き込みの権限を確かめてください。");
    case FailureReason::Missing:
        return QStringLiteral("ファイルが見つかりません。");
    }
    return {};
}

FailureReason ReasonOfSqliteCode(int resultCode)
{
    // A file moved away under the program: its own sentence says so.
    if (resultCode == SQLITE_READONLY_DBMOVED) return FailureReason::None;
    // A page read short: the file ends before its pages do.
    if (resultCode == SQLITE_IOERR_SHORT_READ) return FailureReason::Damaged;
    switch (resultCode & 0xff) {
    case SQLITE_FULL:
        return FailureReason::DiskFull;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FailureReason::InUse;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return FailureReason::Damaged;
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return FailureReason::NotWritable;
    default:
        return FailureReason::None;
    }
}

QDebug operator<<(QDebug debug, const Failure& failure)
{
    QDebugStateSaver saver(debug);
    debug.noquote().nospace() << failure.logText();
    return debug;
}
