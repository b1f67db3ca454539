// The main window laid out from the settings, once, when it loads.

#include "GridView.h"
#include "PrintSettings.h"
#include "SharedRoutines.h"
#include "Twips.h"
#include "Velt.h"
#include "WorkTableModel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace {

void placeLeftWidth(QWidget* w, double left, double width)
{
    w->setGeometry(twips(left), w->y(), twips(width), w->height());
}

void placeLeft(QWidget* w, double left) { w->move(twips(left), w->y()); }

}  // namespace

QString PackColumnCaption(const QString& title)
{
    if (title.isEmpty() || title == QStringLiteral("入数")) return QStringLiteral("入　数");
    if (title == QStringLiteral("規格")) return QStringLiteral("規　格");
    return title;
}

void Velt::FormInit()
{
    const SettingsRecord& s = ModVelt::設定情報;

    // 1. The grids and their lists over the work tables.
    bindGrids();

    // 2. The product-detail panel.
    Cn商品詳細->move(twips(4080), twips(780));

    // 3. Date formats by the era setting.
    auto& historyDate = dat履歴->column(2);
    if (s.年号 == QStringLiteral("和暦")) {
        dt日付->setFormats(QStringLiteral("gggee年mm月dd日"), QStringLiteral("gggee年mm月"));
        placeLeftWidth(dt日付, 9240, 2235);
        historyDate.dateFormat = QStringLiteral("gee/mm/dd");
        placeLeftWidth(txt開始, 945, 2370);
        placeLeftWidth(txt終了, 3780, 2370);
        placeLeft(Label28, 3450);
        txt開始->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
        txt終了->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
    } else {
        dt日付->setFormats(QStringLiteral("yyyy年mm月dd日"), QStringLiteral("yyyy年mm月"));
        placeLeftWidth(dt日付, 9610, 1755);
        historyDate.dateFormat = QStringLiteral("yyyy/mm/dd");
        txt開始->resize(twips(1590), txt開始->height());
        placeLeftWidth(txt終了, 3000, 1590);
        txt開始->setFormats(QStringLiteral("yyyy/mm/dd"), QStringLiteral("yyyy年 mm月"));
        txt終了->setFormats(QStringLiteral("yyyy/mm/dd"), QStringLiteral("yyyy年 mm月"));
        placeLeft(Label28, 2670);
    }
    Grid履歴リスト->applyColumns();

    // 4. The seal boxes: eight lines and four title boxes from two origins.
    const double ox = 3200, oy = 220;
    const double lines[8][4] = {
        // X1, X2, Y1, Y2
        {5900, 8270, 2700, 2700}, {5900, 8270, 3000, 3000}, {5900, 8280, 3460, 3460}, {5900, 5900, 2700, 3460},
        {6480, 6480, 2700, 3460}, {7080, 7080, 2700, 3480}, {7680, 7680, 2700, 3460}, {8260, 8260, 2700, 3480},
    };
    for (int i = 0; i < 8; ++i)
        印鑑Line[i]->setEnds(ox + lines[i][0], oy + lines[i][2], ox + lines[i][1], oy + lines[i][3]);
    const double sealLeft[4] = {6000, 6600, 7200, 7800};
    for (int i = 0; i < 4; ++i) txt印鑑[i]->move(twips(ox + sealLeft[i]), twips(oy + 2760));

    // 5. Number formats of 数量, 単価 and 金額 by the decimals setting.
    const bool quantityDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("数量");
    const bool priceDecimals = s.小数 == QStringLiteral("数量+単価") || s.小数 == QStringLiteral("単価");
    wkDat->column(4).format = quantityDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(6).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    wkDat->column(7).format = QStringLiteral("#,###");

    // 6. Captions, widths (twips), visibility and alignment.
    const struct {
        int col;
        const char16_t* caption;
        double width;
    } shown[] = {
        {1, u"品　　名", 4500}, {3, nullptr, 1500.095}, {4, u"数 量", 1065.26},
        {5, u"単位", 734.7402},  {6, u"単 価", 1169.787}, {7, u"金 額", 1170.835},
    };
    for (const auto& c : shown) {
        if (c.caption) wkDat->column(c.col).caption = QString::fromUtf16(c.caption);
        wkDat->column(c.col).widthTwips = qRound(c.width);
        wkDat->column(c.col).visible = true;
    }
    wkDat->column(2).widthTwips = qRound(1065.26);
    for (int c : {0, 8, 9, 10}) wkDat->column(c).visible = false;
    wkDat->column(5).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    for (int c : {6, 4, 7}) wkDat->column(c).alignment = Qt::AlignRight | Qt::AlignVCenter;

    // 7. The pack-quantity column is titled by its setting.
    const QString packCaption = PackColumnCaption(s.入数列タイトル);
    wkDat->column(3).caption = packCaption;
    lbl入数詳細->setText(packCaption);
    Grid明細->applyColumns();

    // 8. The product drop-down.
    dat商品参照->column(0).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(2).alignment = Qt::AlignLeft | Qt::AlignVCenter;
    dat商品参照->column(3).alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    dat商品参照->column(4).alignment = Qt::AlignRight | Qt::AlignVCenter;
    dat商品参照->column(4).format = priceDecimals ? QStringLiteral("Standard") : QStringLiteral("#,###");
    dat商品参照->column(0).caption = QStringLiteral("品　　名");
    dat商品参照->column(3).caption = QStringLiteral("単位");
    dat商品参照->column(4).caption = QStringLiteral("単 価");
    dat商品参照->column(2).caption = packCaption;
    dat商品参照->columnsChanged();

    // 9. The own-company labels take the fonts of the A4 layout; a missing
    // font name or size leaves the designed one.
    ModVelt::PrintSettingsIndex = ReadPrintSettings(QStringLiteral("MA4"));
    const int n = ModVelt::PrintSettingsIndex;
    if (n >= 1 && n <= 2) {
        const PrintSettingsEntry& e = ModVelt::PrintSettingsRecord[n];
        auto apply = [](QLabel* label, const QString& family, double size) {
            QFont f = label->font();
            if (!family.isEmpty()) f.setFamily(family);
            if (size > 0) f.setPointSizeF(size);
            label->setFont(f);
        };
        apply(lbl自社名, e.自社名フォント, e.自社名サイズ);
        apply(lbl自社情報, e.自社情報フォント, e.自社情報サイズ);
    }
}
