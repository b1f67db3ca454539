#pragma once
// What the quotation tab's store and load tests share: a screen filled as a
// user fills it, and the titles of the boxes shown.

#include "StoreSamples.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"
#include "support/FindControl.h"
#include "support/TabFixtures.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

using namespace samples;

// The screen of a quotation under `number` as a user fills it: every header
// field, the totals, the seals and four lines (a blank one among them).
inline void fillScreen(QuotationTabFixture& f, const QString& number)
{
    control<QLineEdit>(f.quotation(), "txtNo")->setText(number);
    control<DateBox>(f.quotation(), "dt日付")->setDate(QDate(2024, 6, 3));
    control<TextComboBox>(f.quotation(), "cmb顧客名")->setText(QStringLiteral("O'Hara 株式会社"));
    control<TextComboBox>(f.quotation(), "cmb敬称")->setText(QStringLiteral("御中"));
    control<MultiLineEdit>(f.quotation(), "txt顧客情報")->setText(QStringLiteral("〒530-0001\r\n大阪市北区"));
    control<QLineEdit>(f.quotation(), "txt件名")->setText(QStringLiteral("机 'L' 型"));
    control<MultiLineEdit>(f.quotation(), "txtメモ")->setText(QStringLiteral("一行目\r\n二行目"));
    control<TextComboBox>(f.quotation(), "cmb有効期限")->setText(QStringLiteral("1か月"));
    control<TextComboBox>(f.quotation(), "cmb支払条件")->setText(QString());
    control<TextComboBox>(f.quotation(), "cmb受渡場所")->setText(QStringLiteral("現地"));
    control<TextComboBox>(f.quotation(), "cmb納期")->setText(QString());
    control<NumberBox>(f.quotation(), "num税抜計")->setValue(yen(3000));
    control<NumberBox>(f.quotation(), "num消費税")->setValue(yen(150));
    control<NumberBox>(f.quotation(), "num合計")->setValue(yen(3150));
    control<NumberBox>(f.quotation(), "num見積金額")->setValue(yen(3150));
    for (int i = 0; i < 4; ++i) control<QLineEdit>(f.quotation(), QStringLiteral("txt印鑑(%1)").arg(i))->setText(i == 1 ? QString() : QStringLiteral("印%1").arg(i));
    QList<QuotationLine> lines{product(QStringLiteral("机"), 1, 2000), QuotationLine{}, product(QStringLiteral("椅子"), 2, 500),
                               subtotal(3000)};
    lines[2].非課税 = true;
    QVERIFY(WriteWorkLines(f.work(), lines));
    control<WorkTableModel>(f.quotation(), "wkDat")->refresh();
}

// The titles of the boxes shown, in order.
inline QStringList titles(RecordingPresenter& p)
{
    QStringList out;
    for (const auto& s : p.shown()) out << s.title;
    return out;
}
