#pragma once
// The Windows font names that stored print settings and labels hold
// are substituted by the IPA fonts: Gothic faces by IPA(P)Gothic, Mincho faces
// by IPA(P)Mincho. Fontconfig maps none of them by itself.
//
// The IPA fonts have no bold weight, and a synthetic bold of them barely shows
// on paper. Bold text of those faces prints in a bold face made from the Noto
// CJK JP family of the same kind (Noto Serif CJK JP Bold for Mincho, Noto Sans
// CJK JP Bold for Gothic): the same outlines under a family name of its own,
// with a character map that reaches each glyph from one character only.
//
// Noto CJK reaches one glyph from an ideograph and from its Kangxi radical or
// compatibility ideograph (見 and ⾒ share a glyph), and a PDF tells which text
// an embedded glyph stands for by the lowest character that reaches it: text
// copied or searched in a PDF would read ⾒ where 見 was printed. The derived
// face keeps, for each glyph, the characters Japanese text is written in.
// It is written once into the user's cache folder (GenericCacheLocation/
// PrjVelt/fonts), named after the Noto face it was made from, and registered
// as an application font; where it cannot be written it is registered from
// memory.

#include <QList>
#include <QString>
#include <utility>

namespace Fonts {
void installSubstitutions();

// The family that prints `family` in bold: for an IPA face (or a name
// substituted by one) the bold face made from its Noto CJK counterpart, where
// that is installed; otherwise `family` itself. Looked up once per family.
QString boldFamily(const QString& family);

// A character map of a face (character, glyph) reduced so that each glyph is
// reached from the characters of one kind only, the kind Japanese text is
// written in first: kanji of the unified block, kana, CJK punctuation and
// full-width forms, ASCII and Latin-1; then the rarer kanji of the extension
// blocks; then other symbols; last Kangxi and CJK radicals, compatibility
// ideographs and control characters, which are dropped wherever a glyph has
// another character. Sorted by character.
QList<std::pair<char32_t, quint32>> oneCharacterPerGlyph(QList<std::pair<char32_t, quint32>> map);
}  // namespace Fonts
