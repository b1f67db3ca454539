#include "PrintSamples.h"

#include "app/Rounding.h"

#include "platform/EraDate.h"
#include "printing/ReportRender.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>

namespace PrintSamples {

namespace {
Currency money(const QString& text) { return *Currency::parse(text); }
}  // namespace

QuotationLine productLine(const QString& name, const QString& quantity, const QString& unit, const QString& price)
{
    QuotationLine l;
    l.品名 = name;
    l.数量 = money(quantity);
    l.単位 = unit;
    l.単価 = money(price);
    l.金額 = RoundAmount(Decimal::product(*l.数量, *l.単価), u"四捨五入"_qs);
    return l;
}

PrintSample quotation(int used)
{
    static const struct {
        const char16_t* name;
        const char16_t* quantity;
        const char16_t* unit;
        const char16_t* price;
        const char16_t* pack;
    } products[] = {
        {u"LED ダウンライト 60W相当", u"12", u"台", u"4800", u""},
        {u"配線ダクトレール 2m", u"4", u"本", u"3250", u""},
        {u"ステンレス製業務用ダブルシンク（排水トラップ・混合水栓・取付金具一式付き）", u"1", u"台", u"186000", u""},
        {u"陳列棚 W900 スチール", u"6", u"台", u"23500", u""},
        {u"POP用アクリルスタンド", u"50", u"個", u"380", u"10個入"},
        {u"床材 フロアタイル", u"32.5", u"㎡", u"4200", u""},
        {u"電気工事", u"1", u"式", u"85000", u""},
        {u"養生費", u"1", u"式", u"12000", u""},
        {u"運搬費", u"2", u"回", u"8500", u""},
    };

    PrintSample s;
    s.settings.自社名 = u"有限会社 ベルト工房"_qs;
    s.settings.自社情報 = u"〒530-0001\r\n大阪府大阪市北区梅田1-1-1\r\nTEL 06-1234-5678\r\nFAX 06-1234-5679"_qs;
    s.settings.年号 = u"和暦"_qs;
    s.settings.小数 = u"しない"_qs;
    s.settings.税計算 = true;

    s.print.型番 = u"MA4"_qs;
    s.print.タイトル1 = u"見積書"_qs;
    s.print.顧客名サイズ = 14;
    s.print.顧客情報サイズ = 11;
    s.print.自社名サイズ = 14;
    s.print.自社情報サイズ = 11;
    s.print.自社名位置 = u"上"_qs;
    s.print.自社情報印刷 = true;

    PrnData見積書& d = s.data;
    d.伝票番号 = u"1024"_qs;
    d.日付 = EraDate::format(QDate(2024, 12, 9), u"gggee年mm月dd日"_qs);
    d.顧客名 = u"株式会社 山田商店"_qs;
    d.敬称 = u"様"_qs;
    d.顧客情報 = u"〒150-0001\r\n東京都渋谷区神宮前1-2-3 山田ビル2F\r\nTEL 03-1234-5678"_qs;
    d.件名 = u"店舗改装工事一式"_qs;
    d.有効期限 = u"お見積後30日"_qs;
    d.支払条件 = u"月末締め翌月末払い"_qs;
    d.受渡場所 = u"貴社指定場所"_qs;
    d.納期 = u"ご注文後2週間"_qs;
    d.メモ = u"ご不明な点がございましたらお気軽にお問い合わせください。"_qs;
    d.印鑑1 = u"承認"_qs;
    d.印鑑2 = u"審査"_qs;
    d.印鑑3 = u"担当"_qs;

    Currency net;
    Currency group;
    for (int n = 1; n <= 100; ++n) {
        if (n > used) {
            s.lines.append(QuotationLine{});
            continue;
        }
        if (n % 10 == 0) {
            QuotationLine sub;
            sub.品名 = u" 小 計"_qs;
            sub.金額 = group;
            sub.小計 = true;
            s.lines.append(sub);
            group = Currency();
            continue;
        }
        const auto& p = products[(n - 1) % 10 % 9];
        QuotationLine l = productLine(QString::fromUtf16(p.name), QString::fromUtf16(p.quantity),
                                        QString::fromUtf16(p.unit), QString::fromUtf16(p.price));
        l.入数 = QString::fromUtf16(p.pack);
        group += *l.金額;
        net += *l.金額;
        s.lines.append(l);
    }
    const Currency tax = Currency::fromWhole(net.raw() * 5 / 100 / Currency::kScale);
    d.税抜計 = net;
    d.消費税 = tax;
    d.見積金額 = net + tax;
    d.明細行数 = qint16(used);
    return s;
}

}  // namespace PrintSamples

namespace OpProbe {

QString name(const ReportOp& op)
{
    return std::visit([](const auto& o) { return o.name; }, op);
}

QColor colour(const ReportOp& op)
{
    return std::visit([](const auto& o) { return o.colour; }, op);
}

QRectF onPaper(const ReportOp& op, const QPointF& origin)
{
    QRectF r;
    if (const auto* t = std::get_if<ReportTextOp>(&op)) {
        r = t->rect;
    } else if (const auto* l = std::get_if<ReportLineOp>(&op)) {
        // Square caps: the pen reaches half its width beyond either end.
        const double pen = l->width / 2;
        r = QRectF(l->line.p1(), l->line.p2()).normalized().adjusted(-pen, -pen, pen, pen);
    } else if (const auto* f = std::get_if<ReportFrameOp>(&op)) {
        const double pen = f->width / 2;
        r = f->rect.normalized().adjusted(-pen, -pen, pen, pen);
    }
    return r.translated(origin);
}

QStringList offPaper(const ReportDocument& doc)
{
    const QSizeF paper = doc.paperTwips();
    QStringList out;
    for (int i = 0; i < doc.pages.size(); ++i) {
        for (const ReportOp& op : doc.pages[i].ops) {
            const QRectF r = onPaper(op, doc.origin);
            if (r.left() < 0 || r.top() < 0 || r.right() > paper.width() || r.bottom() > paper.height())
                out << QStringLiteral("page %1: %2").arg(i + 1).arg(name(op));
        }
    }
    return out;
}

QStringList texts(const ReportDocument& doc, const QString& name)
{
    QStringList out;
    for (const ReportPage& page : doc.pages)
        for (const ReportTextOp* t : page.texts(name)) out << t->text;
    return out;
}

QStringList pagingFaults(const ReportDocument& doc, const ReportDocument& plain, int rows, const QString& rule,
                         const QString& pageField, double countTop)
{
    QStringList faults = offPaper(doc);
    const int total = (100 + rows - 1) / rows;
    if (doc.pages.size() != total) faults << QStringLiteral("%1 pages, not %2").arg(doc.pages.size()).arg(total);
    for (const QString& name : {QStringLiteral("txt品名"), QStringLiteral("txt金額")})
        if (texts(doc, name) != texts(plain, name)) faults << name + QStringLiteral(": other rows than as designed");
    for (int i = 0; i < doc.pages.size(); ++i) {
        const ReportPage& page = doc.pages[i];
        const ReportTextOp* number = page.text(pageField);
        const ReportTextOp* count = page.text(QStringLiteral("tcp"));
        if (page.lines(rule).size() != rows) faults << QStringLiteral("page %1: %2 rows").arg(i + 1).arg(page.lines(rule).size());
        if (!number || number->text != QString::number(i + 1)) faults << QStringLiteral("page %1: its number").arg(i + 1);
        if (!count || count->text != QString::number(total)) faults << QStringLiteral("page %1: the count").arg(i + 1);
        else if (count->rect.top() + doc.origin.y() != countTop)
            faults << QStringLiteral("page %1: the count at %2").arg(i + 1).arg(count->rect.top() + doc.origin.y());
    }
    return faults;
}

}  // namespace OpProbe

namespace PdfProbe {

namespace {
// Runs a poppler tool; its standard output, or nothing with the reason.
std::optional<QByteArray> run(const QString& tool, const QStringList& args, QString* error)
{
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("%1 failed (is poppler-utils installed?): %2")
                         .arg(tool, QString::fromLocal8Bit(p.readAllStandardError()) + p.errorString());
        return std::nullopt;
    }
    return p.readAllStandardOutput();
}
}  // namespace

Info info(const QString& pdf, QString* error)
{
    Info i;
    const auto out = run(QStringLiteral("pdfinfo"), {pdf}, error);
    if (!out) return i;
    const QString text = QString::fromUtf8(*out);
    const auto pages = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption).match(text);
    const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption)
                          .match(text);
    if (pages.hasMatch()) i.pages = pages.captured(1).toInt();
    if (size.hasMatch()) i.pageSize = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    return i;
}

QList<Word> words(const QString& pdf, QString* error)
{
    QList<Word> out;
    const auto html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, error);
    if (!html) return out;
    static const QRegularExpression tag(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    int page = 0;
    for (auto it = tag.globalMatch(QString::fromUtf8(*html)); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        QString text = m.captured(5);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""));
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        out.append({page, text, QRectF(x0, y0, m.captured(3).toDouble() - x0, m.captured(4).toDouble() - y0)});
    }
    return out;
}

QStringList embeddedFonts(const QString& pdf, QString* error)
{
    QStringList out;
    const auto table = run(QStringLiteral("pdffonts"), {pdf}, error);
    if (!table) return out;
    // name, type (of one or more words), encoding, then emb, sub, uni and the object number.
    static const QRegularExpression row(QStringLiteral("^(\\S+)\\s+.+\\s+(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$"),
                                        QRegularExpression::MultilineOption);
    for (auto it = row.globalMatch(QString::fromUtf8(*table)); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == QLatin1String("yes")) out << m.captured(1);
    }
    return out;
}

Printed print(const ReportDocument& doc)
{
    Printed out;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pages.pdf"));
    if (!ReportRender::writePdf(doc, pdf, &out.error)) return out;
    out.info = info(pdf, &out.error);
    if (out.info.pages) out.words = words(pdf, &out.error);
    return out;
}

QImage page(const QString& pdf, int pageNumber, int dpi, QString* error)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    const QString n = QString::number(pageNumber);
    if (!run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                          QStringLiteral("-f"), n, QStringLiteral("-l"), n, QStringLiteral("-singlefile"),
                                          pdf, stem},
             error))
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

}  // namespace PdfProbe
