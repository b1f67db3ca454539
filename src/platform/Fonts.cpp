#include "platform/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <algorithm>

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

QString boldFamily(const QString& family)
{
    const QStringList substitutes = QFont::substitutes(family);
    const QString face = substitutes.isEmpty() ? family : substitutes.first();
    // The IPA faces by their Latin and their Japanese names.
    const struct {
        const char16_t* face;
        const char16_t* bold;
    } table[] = {
        {u"IPAPMincho", u"Noto Serif CJK JP"}, {u"IPA P明朝", u"Noto Serif CJK JP"},
        {u"IPAMincho", u"Noto Serif CJK JP"},  {u"IPA明朝", u"Noto Serif CJK JP"},
        {u"IPAPGothic", u"Noto Sans CJK JP"},  {u"IPA Pゴシック", u"Noto Sans CJK JP"},
        {u"IPAGothic", u"Noto Sans CJK JP"},   {u"IPAゴシック", u"Noto Sans CJK JP"},
    };
    for (const auto& e : table) {
        if (face.compare(QString::fromUtf16(e.face), Qt::CaseInsensitive) != 0) continue;
        const QString bold = QString::fromUtf16(e.bold);
        return QFontDatabase::hasFamily(bold) ? bold : family;
    }
    return family;
}

bool hasBoldFace(const QString& family)
{
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.begin(), styles.end(),
                       [&](const QString& style) { return QFontDatabase::weight(family, style) >= QFont::DemiBold; });
}

}  // namespace Fonts
