#pragma once
// Patterns for SQLite's "like ? escape '\'": the one LIKE escaping of the
// program. Header-only, so that the customer-search component, which links
// nothing of the program, uses the same rule.

#include <QString>

// Adds c to a pattern so that it matches only itself: "%", "_" and "\" are
// escaped by "\".
inline void AppendLikeLiteral(QString& pattern, QChar c)
{
    if (c == u'%' || c == u'_' || c == u'\\') pattern += u'\\';
    pattern += c;
}

// Text as it stands inside the pattern of "like ? escape '\'": every
// character matches only itself.
inline QString LikeLiteral(const QString& text)
{
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) AppendLikeLiteral(out, c);
    return out;
}

// A search box's text as a pattern: the wildcards of the desktop database
// engines users know, '*' for any text (none included) and '?' for any one
// character; every other character, '%', '_', '\' and quotes among them,
// stands for itself.
inline QString SearchLikePattern(const QString& typed)
{
    QString out;
    out.reserve(typed.size() + 4);
    for (const QChar c : typed) {
        switch (c.unicode()) {
        case u'*': out += u'%'; break;
        case u'?': out += u'_'; break;
        default: AppendLikeLiteral(out, c);
        }
    }
    return out;
}
