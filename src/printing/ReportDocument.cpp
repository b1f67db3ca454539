#include "printing/ReportDocument.h"

#include "platform/Fonts.h"

#include <QFontMetricsF>
#include <QHash>
#include <QMutex>
#include <QTextLayout>
#include <mutex>

namespace {

template <typename Op>
QList<const Op*> opsNamed(const QList<ReportOp>& ops, const QString& name)
{
    QList<const Op*> out;
    for (const ReportOp& op : ops)
        if (const auto* o = std::get_if<Op>(&op); o && o->name == name) out.append(o);
    return out;
}

}  // namespace

QList<const ReportTextOp*> ReportPage::texts(const QString& name) const
{
    return opsNamed<ReportTextOp>(ops, name);
}

const ReportTextOp* ReportPage::text(const QString& name, int nth) const
{
    const auto all = texts(name);
    return nth >= 0 && nth < all.size() ? all[nth] : nullptr;
}

QList<const ReportLineOp*> ReportPage::lines(const QString& name) const
{
    return opsNamed<ReportLineOp>(ops, name);
}

const ReportFrameOp* ReportPage::frame(const QString& name) const
{
    const auto all = opsNamed<ReportFrameOp>(ops, name);
    return all.isEmpty() ? nullptr : all.first();
}

QStringList ReportPage::allTexts() const
{
    QStringList out;
    for (const ReportOp& op : ops)
        if (const auto* t = std::get_if<ReportTextOp>(&op)) out.append(t->text);
    return out;
}

QSizeF ReportDocument::paperTwips() const
{
    // Whole points, as the PDF and the printer take the paper (A4: 595 x 842).
    const QSizeF twips = QSizeF(pageSize().sizePoints()) * ReportUnits::kTwipsPerPoint;
    return orientation == QPageLayout::Landscape ? twips.transposed() : twips;
}

namespace ReportText {

namespace {
// Twips a line that may not wrap can stand out of its box before it is condensed.
constexpr double kOverflowTolerance = 2;
}  // namespace

QFont font(const ReportFont& f)
{
    // The layouts name Windows faces; make sure they lead to the IPA fonts even
    // when the report runs without the program's start-up (tests, tools).
    static std::once_flag substitutions;
    std::call_once(substitutions, [] { Fonts::installSubstitutions(); });

    // A report uses a handful of fonts, each for many texts.
    static QMutex mutex;
    static QHash<QString, QFont> made;
    const int pixels = qMax(1, qRound(f.size * ReportUnits::kTwipsPerPoint));
    const QString key = f.family + QLatin1Char('/') + QString::number(pixels) + (f.bold ? u'b' : u'r');
    const QMutexLocker lock(&mutex);
    if (const auto it = made.constFind(key); it != made.cend()) return *it;

    // Bold text prints in a face with a real bold weight where the designed
    // face has none (the IPA fonts): a synthetic bold barely shows on paper.
    QFont q(f.bold ? Fonts::boldFamily(f.family) : f.family);
    q.setPixelSize(pixels);
    q.setBold(f.bold);
    // Metrics independent of the device: the same lines on paper, PDF and screen.
    q.setHintingPreference(QFont::PreferNoHinting);
    return *made.insert(key, q);
}

QList<ReportTextLine> layout(const QString& text, const ReportFont& f, const QSizeF& box, Qt::Alignment alignment,
                             bool wrap)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    t.replace(QLatin1Char('\r'), QChar::LineSeparator);
    t.replace(QLatin1Char('\n'), QChar::LineSeparator);

    QTextLayout layout(t, font(f));
    // Lines stand where the regular face puts them, also for bold text set in
    // another family (whose ascent and line height are larger): bold and
    // regular text of one box sit on the same baselines and keep to its height.
    const QFontMetricsF regular(font(ReportFont{f.family, f.size, false}));
    QTextOption option;
    option.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);

    QList<ReportTextLine> out;
    double y = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(box.width());
        const double height = f.bold ? regular.height() : line.height();
        const double ascent = f.bold ? regular.ascent() : line.ascent();
        // Clipped at the box's height by whole lines; the first line always
        // prints, also in a box lower than the font.
        if (!out.isEmpty() && y + height > box.height() + 0.5) break;
        line.setPosition(QPointF(0, y));
        QString s = t.mid(line.textStart(), line.textLength());
        if (s.endsWith(QChar::LineSeparator)) s.chop(1);
        double w = line.naturalTextWidth();
        double scaleX = 1;
        if (!wrap) {
            // A line that may not break and is wider than its box (the
            // substituted faces run a little wider than the ones a layout was
            // designed with) is condensed to the box, so it never runs into
            // its neighbour. Trailing blanks take no room on paper.
            qsizetype inked = s.size();
            while (inked > 0 && s[inked - 1].isSpace()) --inked;
            const double ink = line.cursorToX(int(line.textStart() + inked)) - line.cursorToX(line.textStart());
            if (ink > box.width() + kOverflowTolerance && box.width() > 0) {
                scaleX = box.width() / ink;
                w = box.width();
            }
        }
        double x = 0;
        if (scaleX == 1) {
            if (alignment & Qt::AlignRight) x = box.width() - w;
            else if (alignment & Qt::AlignHCenter) x = (box.width() - w) / 2;
        }
        out.append({s, QPointF(x, y + ascent), w, scaleX, {}});
        y += height;
    }
    layout.endLayout();
    // The glyphs of each printed line, from its own baseline's start. The
    // layout splits a line where the script changes (kanji, kana, Latin); runs
    // of one face are joined again, so that each prints as one.
    for (int i = 0; i < out.size(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const QPointF start = line.position() + QPointF(0, line.ascent());
        QList<QGlyphRun>& runs = out[i].glyphs;
        for (const QGlyphRun& run : line.glyphRuns()) {
            QList<QPointF> positions = run.positions();
            for (QPointF& at : positions) at -= start;
            if (!runs.isEmpty() && runs.last().rawFont() == run.rawFont() && runs.last().flags() == run.flags()) {
                QGlyphRun& last = runs.last();
                last.setGlyphIndexes(last.glyphIndexes() + run.glyphIndexes());
                last.setPositions(last.positions() + positions);
                continue;
            }
            QGlyphRun placed = run;
            placed.setPositions(positions);
            runs.append(placed);
        }
    }
    return out;
}

}  // namespace ReportText
