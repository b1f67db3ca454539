#include "masters/LinkSource.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"

#include <QFileInfo>

std::optional<QString> LinkFileToRead(Session& session, const LinkSource& source)
{
    const MessageCatalog& messages = session.messages();
    const auto say = [&](const QString& kind, const QString& text) {
        messages.ShowMessage(QStringLiteral("その他"), kind, text);
        return std::nullopt;
    };
    if (source.application.isEmpty()) return say(QStringLiteral("メッセージ"), QStringLiteral("リンクアプリが指定されてません"));
    if (source.path.isEmpty()) return say(QStringLiteral("メッセージ"), QStringLiteral("リンクパスが指定されてません"));
    const QString file = session.mapDrivePath(source.path);
    if (!QFileInfo(file).isFile()) return say(QStringLiteral("ファイルなし"), source.subject);
    // Nothing can be read for it; the list stays as it is.
    if (!source.readable)
        return say(QStringLiteral("メッセージ"),
                   QStringLiteral("「%1」には読み込める%2データがありません").arg(source.application, source.data));
    return file;
}
