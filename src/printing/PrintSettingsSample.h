#pragma once
// The sample printout on the print-settings windows: a small schematic of a
// blank-paper quotation (page, margins, title, customer and company blocks,
// terms, totals, seal boxes, detail rows), drawn from the places of the
// printed layout, so that the window can mark over it where each setting acts.

#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

// Places of one printed layout, in twips: the paper, the base margins, and the
// page header's parts relative to the top-left corner inside the margins.
struct SampleSheet {
    QString paperName;         // "A4", "B5"
    QSizeF paper;              // whole sheet
    QPointF margin;            // base left and top margins
    QRectF title;
    QLineF titleRule;          // the thick rule under the title
    QRectF customerBlock;      // 顧客情報
    QRectF customerName;       // 顧客名
    QRectF honorific;
    QLineF nameRule;
    QRectF greeting;
    QRectF dateBox;            // date and number, rounded corners
    double dateBoxDivider;     // x of the vertical divider inside it
    QRectF companyName;        // 自社名
    QRectF companyBlock;       // 自社情報
    QList<double> termRows;    // tops of the 件名 ... 納期 rows
    double termRowHeight;
    double termsRight;
    QRectF totals;             // 税抜計, 税額, 合計金額
    QRectF sealBox;
    QList<double> sealColumns; // x of the inner verticals
    double sealHeadBottom;
    QRectF heading;            // the detail column headings
    QList<double> columns;     // x of the column rules
    double rowHeight;
    int rows;
    double footerHeight;

    static const SampleSheet& a4();
    static const SampleSheet& b5();
};

class SamplePicture : public QWidget {
    Q_OBJECT
public:
    explicit SamplePicture(const SampleSheet& sheet, QWidget* parent = nullptr);
    const SampleSheet& sheet() const { return sheet_; }

    // The sheet as drawn, in this widget's pixels.
    QRectF pageRect() const;
    // A place of the layout (twips inside the margins) in this widget's pixels.
    QRectF map(const QRectF& layoutTwips) const;
    QPointF map(const QPointF& layoutTwips) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double scale() const;

    const SampleSheet& sheet_;
};
