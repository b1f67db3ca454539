#pragma once
// A search box's text as a pattern for SQLite's "like ? escape '\'": the
// wildcards users of the original database engine know, '*' for any text
// (none included) and '?' for any one character; every other character,
// '%', '_', '\' and quotes among them, stands for itself. Header-only, so
// that the customer-search component uses the same rule.

#include <QString>

inline QString SearchLikePattern(const QString& typed)
{
    QString out;
    out.reserve(typed.size() + 4);
    for (const QChar c : typed) {
        switch (c.unicode()) {
        case u'*': out += u'%'; break;
        case u'?': out += u'_'; break;
        case u'%':
        case u'_':
        case u'\\':
            out += u'\\';
            out += c;
            break;
        default: out += c;
        }
    }
    return out;
}
