// The quotation screen: resetting the header and the 100 detail lines.

#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include "app/Session.h"
#include "app/ShownSettings.h"
#include "workspace/TabLinks.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcQuotation, "velt.quotation")

void QuotationTab::connectQuotationScreen()
{
    connect(cmdクリア, &QPushButton::clicked, this, &QuotationTab::cmdクリア_Click);
}

void QuotationTab::Clear見積書(bool all)
{
    keeper_->forgetLoadedNumber();
    resetPaperChoice();

    header_->reset(session_.設定情報.税計算);

    showOwnCompany();

    grid_->Clear明細ワーク();

    if (all) {
        grid_->SetDD品名();
        history_.Clear履歴();
        Readコード表(QStringLiteral("すべて"));
        AddCmb顧客名();
        header_->setNumberText(keeper_->Proc管理(QStringLiteral("最大見積書番号"), QStringLiteral("Get"), 0).toString());
    }

    // The seal titles shown on the settings tab at this moment, stored or not.
    std::array<QString, 4> titles;
    for (size_t i = 0; i < titles.size(); ++i) titles[i] = shownSettings_.shownSealTitle(int(i));
    header_->setSealTitles(titles);
}

void QuotationTab::AddCmb顧客名()
{
    bool ok = false;
    const QList<QSqlRecord> rows =
        session_.DataDb.rows(QStringLiteral("select 顧客名 from 顧客マスタ order by ふりがな collate japanese"), {}, &ok);
    if (!ok) qCWarning(lcQuotation) << "customers could not be read:" << session_.DataDb.lastError();
    // No customer at all: both lists stay as they were.
    if (rows.isEmpty()) return;
    QStringList names;
    names.reserve(rows.size());
    for (const QSqlRecord& r : rows)
        if (!dbv::isNull(r.value(0))) names.append(r.value(0).toString());
    header_->setCustomerNames(names);
    history_.setCustomerNames(names);
}

void QuotationTab::cmdクリア_Click()
{
    Clear見積書(true);
}
