#include "platform/ShiftJis.h"

namespace {

// The character at i: its width in Shift-JIS bytes and its length in UTF-16 units.
struct Character {
    int bytes;
    int units;
};

Character characterAt(const QString& text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) return {1, 1};
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return {2, pair ? 2 : 1};
}

}  // namespace

int ShiftJisLength(const QString& text)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Character c = characterAt(text, i);
        bytes += c.bytes;
        i += c.units;
    }
    return bytes;
}

QString CutToShiftJis(const QString& text, int maxBytes)
{
    int bytes = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Character c = characterAt(text, i);
        if (bytes + c.bytes > maxBytes) return text.left(i);
        bytes += c.bytes;
        i += c.units;
    }
    return text;
}
