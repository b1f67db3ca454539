#pragma once
// The original's Windows font names (stored in print settings, set on labels)
// are substituted by the IPA fonts: Gothic faces by IPA(P)Gothic, Mincho faces
// by IPA(P)Mincho. Fontconfig maps none of them by itself.
//
// The IPA fonts have no bold weight, and a synthetic bold of them barely shows
// on paper. Bold text of those faces prints in the Noto CJK family of the same
// kind (Noto Serif CJK JP for Mincho, Noto Sans CJK JP for Gothic), which has
// a real bold weight.

#include <QString>

namespace Fonts {
void installSubstitutions();

// The family that prints `family` in bold: its Noto CJK counterpart where
// `family` is (or is substituted by) an IPA face and the counterpart is
// installed; otherwise `family` itself.
QString boldFamily(const QString& family);

// True when the family has a bold weight of its own (not a synthetic one).
bool hasBoldFace(const QString& family);
}  // namespace Fonts
