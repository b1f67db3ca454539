#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

void installSubstitutions()
{
    const QStringList pGothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")};
    const QStringList pMincho{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")};
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")};

    const struct {
        const char16_t* name;
        const QStringList* subs;
    } table[] = {
        {u"ＭＳ Ｐゴシック", &pGothic}, {u"MS PGothic", &pGothic}, {u"MS UI Gothic", &pGothic},
        {u"ＭＳ ゴシック", &gothic},     {u"MS Gothic", &gothic},
        {u"ＭＳ Ｐ明朝", &pMincho},     {u"MS PMincho", &pMincho},
        {u"ＭＳ 明朝", &mincho},         {u"MS Mincho", &mincho},
    };
    for (const auto& e : table) QFont::insertSubstitutions(QString::fromUtf16(e.name), *e.subs);
}

}  // namespace Fonts
