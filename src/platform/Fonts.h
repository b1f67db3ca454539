#pragma once
// The original's Windows font names (stored in print settings, set on labels)
// are substituted by the IPA fonts: Gothic faces by IPA(P)Gothic, Mincho faces
// by IPA(P)Mincho. Fontconfig maps none of them by itself.

#include <QString>

namespace Fonts {
void installSubstitutions();
}  // namespace Fonts
