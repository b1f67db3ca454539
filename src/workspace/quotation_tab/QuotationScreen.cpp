// The quotation screen: resetting the header and the 100 detail lines.

#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/PickLists.h"
#include "workspace/quotation_tab/QuotationKeeper.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include "app/Session.h"
#include "workspace/TabLinks.h"

#include <QPushButton>

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
        lists_->Readコード表(QStringLiteral("すべて"));
        lists_->AddCmb顧客名();
        header_->setNumberText(keeper_->Proc管理(QStringLiteral("最大見積書番号"), QStringLiteral("Get"), 0).toString());
    }

    // The seal titles shown on the settings tab at this moment, stored or not.
    std::array<QString, 4> titles;
    for (size_t i = 0; i < titles.size(); ++i) titles[i] = shownSettings_.shownSealTitle(int(i));
    header_->setSealTitles(titles);

    // A new quotation: its quotation amount follows its total, also when only
    // amounts are typed (a load that follows keeps the stored one).
    grid_->setDetailsChanged(true);
    keepAsUnchanged();
}

void QuotationTab::keepAsUnchanged()
{
    Failure error;
    const std::optional<QList<QuotationLine>> lines = grid_->lines(&error);
    unchanged_ = lines ? std::optional<QuotationRecord>(QuotationRecord{header_->header(), *lines}) : std::nullopt;
}

bool QuotationTab::holdsUnsavedChanges() const
{
    // Text typed and not yet taken counts, a refused one too.
    if (grid_->cellBeingTyped() || header_->holdsUntakenText()) return true;
    Failure error;
    const std::optional<QList<QuotationLine>> lines = grid_->lines(&error);
    // Lines that cannot be read cannot be told unchanged.
    if (!lines || !unchanged_) return true;
    return header_->header() != unchanged_->header || *lines != unchanged_->lines;
}

void QuotationTab::cmdクリア_Click()
{
    Clear見積書(true);
}
