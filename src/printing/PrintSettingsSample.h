#pragma once
// The sample printout on the print-settings windows: a small schematic of a
// blank-paper quotation (page, margins, title, customer and company blocks,
// terms, totals, seal boxes, detail rows, footer), drawn at the places of the
// printed layout's own controls, so that the window can mark over it where
// each setting acts and the sample follows the layout when it changes.

#include <QLineF>
#include <QList>
#include <QMarginsF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

// Places of one printed layout, in twips: the paper, the base margins, and the
// parts of the page relative to the top-left corner inside the margins.
struct SampleSheet {
    QString paperName;         // "A4", "B5"
    QSizeF paper;              // whole sheet
    QMarginsF margins;         // base margins
    QRectF title;
    QLineF titleRule;          // the thick rule under the title
    QRectF customerBlock;      // 顧客情報
    QRectF customerName;       // 顧客名
    QRectF honorific;
    QLineF nameRule;
    QRectF greeting;
    QRectF dateBox;            // date and number, rounded corners
    QList<QLineF> dateBoxRules;
    QRectF companyName;        // 自社名
    QRectF companyBlock;       // 自社情報
    double termsLeft = 0;      // left of the captions of the terms
    QList<QRectF> terms;       // the values of 件名 ... 納期
    QRectF totals;             // 税抜計, 税額, 合計金額
    QRectF sealBox;
    QList<QLineF> sealRules;
    QRectF heading;            // the column-heading band, down to the first row
    QList<double> columns;     // x of the inner column rules
    double rowHeight = 0;
    int rows = 0;
    double footerTop = 0;      // where the footer prints, at the foot of the page
    QRectF memo;               // in the footer
    QRectF pageNumber;         // "Page n / T", in the footer

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

// A place marked on the sample picture: a red outline and its caption on the
// outline's top or bottom edge, whichever no neighbouring mark comes near.
class SampleMark : public QWidget {
    Q_OBJECT
public:
    enum class CaptionEdge { Top, Bottom };
    // `outline` in the picture's pixels.
    SampleMark(const QString& caption, const QRect& outline, CaptionEdge edge, SamplePicture* picture);

    QString caption() const { return caption_; }
    // The outline and the caption's box, in the picture's pixels.
    QRect outline() const { return outline_; }
    QRect captionRect() const { return captionRect_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString caption_;
    QRect outline_;
    QRect captionRect_;
};
