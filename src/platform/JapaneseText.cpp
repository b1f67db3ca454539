#include "platform/JapaneseText.h"

namespace {

bool isBlank(QChar c)
{
    return c == QChar(u' ') || c == QChar(u'\u3000');
}

bool isSingleByte(char16_t u)
{
    return u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F);
}

}  // namespace

int ShiftJisLength(const QString& text)
{
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (isSingleByte(text[i].unicode())) {
            bytes += 1;
        } else {
            bytes += 2;
            // A character outside the basic plane is one character (two UTF-16 units).
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        }
    }
    return bytes;
}

QString CutToShiftJis(const QString& text, int maxBytes)
{
    int bytes = 0;
    for (int i = 0; i < text.size(); ++i) {
        const bool single = isSingleByte(text[i].unicode());
        const int width = single ? 1 : 2;
        const int units = !single && text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        if (bytes + width > maxBytes) return text.left(i);
        bytes += width;
        i += units - 1;
    }
    return text;
}

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}
