#include "platform/EraDate.h"

#include <QList>
#include <QRegularExpression>

namespace EraDate {

namespace {

const QList<Era>& eras()
{
    static const QList<Era> table{
        {QDate(1868, 1, 1), QStringLiteral("明治"), QStringLiteral("M")},
        {QDate(1912, 7, 30), QStringLiteral("大正"), QStringLiteral("T")},
        {QDate(1926, 12, 25), QStringLiteral("昭和"), QStringLiteral("S")},
        {QDate(1989, 1, 8), QStringLiteral("平成"), QStringLiteral("H")},
        {QDate(2019, 5, 1), QStringLiteral("令和"), QStringLiteral("R")},
    };
    return table;
}

QString normalizeDigits(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= u'０' && u <= u'９') out.append(QChar(u - u'０' + u'0'));
        else if (u == u'／') out.append('/');
        else if (u == u'．') out.append('.');
        else if (u == u'－') out.append('-');
        else if (u == u'　') out.append(' ');
        else if (u >= u'Ａ' && u <= u'Ｚ') out.append(QChar(u - u'Ａ' + u'A'));
        else if (u >= u'ａ' && u <= u'ｚ') out.append(QChar(u - u'ａ' + u'A'));
        else out.append(c.toUpper());
    }
    return out.trimmed();
}

QString twoDigits(int n) { return QString::number(n).rightJustified(2, '0'); }

}  // namespace

std::optional<Era> eraOf(const QDate& date)
{
    if (!date.isValid()) return std::nullopt;
    const auto& t = eras();
    for (int i = t.size() - 1; i >= 0; --i)
        if (date >= t[i].start) return t[i];
    return std::nullopt;
}

int eraYear(const QDate& date)
{
    const auto era = eraOf(date);
    if (!era) return 0;
    return date.year() - era->start.year() + 1;
}

QString format(const QDate& date, const QString& pattern)
{
    if (!date.isValid()) return {};
    const auto era = eraOf(date);
    QString out;
    int i = 0;
    auto run = [&](QChar c) {
        int n = 0;
        while (i + n < pattern.size() && pattern[i + n].toLower() == c) ++n;
        return n;
    };
    while (i < pattern.size()) {
        const QChar c = pattern[i].toLower();
        if (c == 'y') {
            const int n = run('y');
            out += n >= 3 ? QString::number(date.year()).rightJustified(4, '0') : twoDigits(date.year() % 100);
            i += n;
        } else if (c == 'm') {
            const int n = run('m');
            out += n >= 2 ? twoDigits(date.month()) : QString::number(date.month());
            i += n;
        } else if (c == 'd') {
            const int n = run('d');
            out += n >= 2 ? twoDigits(date.day()) : QString::number(date.day());
            i += n;
        } else if (c == 'g') {
            const int n = run('g');
            if (era) out += n >= 3 ? era->name : (n == 2 ? era->name.left(1) : era->initial);
            i += n;
        } else if (c == 'e') {
            const int n = run('e');
            const int y = era ? eraYear(date) : date.year();
            out += n >= 2 ? twoDigits(y) : QString::number(y);
            i += n;
        } else {
            out += pattern[i];
            ++i;
        }
    }
    return out;
}

std::optional<QDate> parse(const QString& input)
{
    const QString t = normalizeDigits(input);
    if (t.isEmpty()) return std::nullopt;

    static const QRegularExpression eight(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression western(
        QStringLiteral("^(\\d{4})\\s*[年/.\\-]\\s*(\\d{1,2})\\s*[月/.\\-]\\s*(\\d{1,2})\\s*日?$"));
    static const QRegularExpression era(QStringLiteral(
        "^(明治|大正|昭和|平成|令和|明|大|昭|平|令|M|T|S|H|R)\\s*(\\d{1,2}|元)\\s*[年/.\\-]\\s*(\\d{1,2})\\s*[月/.\\-]\\s*(\\d{1,2})\\s*日?$"));

    if (auto m = eight.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    if (auto m = western.match(t); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
    }
    if (auto m = era.match(t); m.hasMatch()) {
        const QString key = m.captured(1);
        const auto& table = eras();
        for (int i = 0; i < table.size(); ++i) {
            const Era& e = table[i];
            if (key != e.name && key != e.name.left(1) && key != e.initial) continue;
            const int ey = m.captured(2) == QStringLiteral("元") ? 1 : m.captured(2).toInt();
            if (ey < 1) return std::nullopt;
            const QDate d(e.start.year() + ey - 1, m.captured(3).toInt(), m.captured(4).toInt());
            if (!d.isValid() || d < e.start) return std::nullopt;
            if (i + 1 < table.size() && d >= table[i + 1].start) return std::nullopt;
            return d;
        }
    }
    return std::nullopt;
}

}  // namespace EraDate
