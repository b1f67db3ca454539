// The history list of stored quotations: listing by customer and date range,
// opening one from the list, deleting the ticked ones.

#include "BusyPanel.h"
#include "GridView.h"
#include "MessageCatalog.h"
#include "QuotationStore.h"
#include "Velt.h"

#include <QLoggingCategory>
#include <QPushButton>
#include <QTabWidget>

Q_LOGGING_CATEGORY(lcHistory, "velt.history")

void Velt::connectHistory()
{
    connect(cmd読込, &QPushButton::clicked, this, &Velt::cmd読込_Click);
    connect(cmd履歴削除, &QPushButton::clicked, this, &Velt::cmd履歴削除_Click);
    connect(cmd履歴クリア, &QPushButton::clicked, this, &Velt::cmd履歴クリア_Click);
    connect(cmd見積書, &QPushButton::clicked, this, &Velt::cmd見積書_Click);
    connect(Grid履歴リスト, &GridView::cellClicked, this, [this](int row, int col) {
        Grid履歴リスト->setCurrentCell(row, col);
        Grid履歴リスト_Click();
    });
}

void Velt::Read見積履歴()
{
    BusyPanel busy(CnRirekiMsg, lblRirekiMsg, QStringLiteral("読込中です････"));
    if (!busy.active()) return;
    HistoryFilter filter;
    filter.顧客名 = cmb履歴顧客名->text();
    filter.開始 = txt開始->date();
    filter.終了 = txt終了->date();
    const auto count = FillHistoryList(ModVelt::WorkDb, ModVelt::DataDb, filter);
    if (!count) qCWarning(lcHistory) << "history list not read:" << ModVelt::WorkDb.lastError() << ModVelt::DataDb.lastError();
    if (dat履歴) dat履歴->refresh();
    num登録件数->setValue(Currency::fromWhole(count.value_or(0)));
}

void Velt::Clear履歴()
{
    if (!ModVelt::WorkDb.exec(QStringLiteral("delete from w履歴リスト")))
        qCWarning(lcHistory) << "history list not emptied:" << ModVelt::WorkDb.lastError();
    if (dat履歴) dat履歴->refresh();
}

void Velt::Delete履歴()
{
    if (BusyPanel::busy()) return;
    if (!ShowMessage(QStringLiteral("削除"), QStringLiteral("指定確認"), QStringLiteral("見積書"))) return;
    bool ok = false;
    const auto ticked = ModVelt::WorkDb.rows(QStringLiteral("select distinct 伝票番号 from w履歴リスト where チェック <> 0"), {}, &ok);
    if (!ok) {
        ShowFailure(QStringLiteral("見積書を削除できませんでした。"), ModVelt::WorkDb.lastError());
        return;
    }
    if (ticked.isEmpty()) return;
    QList<int> numbers;
    for (const QSqlRecord& r : ticked)
        if (!dbv::isNull(r.value(0))) numbers << r.value(0).toInt();
    const StoreOutcome outcome = DeleteQuotations(ModVelt::DataDb, numbers);
    if (!outcome.ok) {
        // Nothing was deleted, so the list stays as it is, ticks included.
        ShowFailure(QStringLiteral("見積書を削除できませんでした。"), outcome.error);
        return;
    }
    if (!ModVelt::WorkDb.exec(QStringLiteral("delete from w履歴リスト where チェック <> 0")))
        qCWarning(lcHistory) << "ticked rows not removed from the list:" << ModVelt::WorkDb.lastError();
    if (dat履歴) dat履歴->refresh();
}

void Velt::cmd読込_Click()
{
    Read見積履歴();
}

void Velt::cmd履歴削除_Click()
{
    Delete履歴();
}

void Velt::cmd履歴クリア_Click()
{
    Clear履歴();
    cmb履歴顧客名->setText(QString());
    txt開始->setNull();
    txt終了->setNull();
    num登録件数->setNull();
}

void Velt::cmd見積書_Click()
{
    const int row = Grid履歴リスト->currentRow();
    if (row < 0 || !dat履歴) return;
    const QString number = dat履歴->editText(row, 1);
    if (number.isEmpty()) return;
    txtNo->setText(number);
    SSTab1->setCurrentIndex(0);
    txtNo_Commit();
    Grid明細->setFocus();
}

void Velt::Grid履歴リスト_Click()
{
    const int row = Grid履歴リスト->currentRow();
    const int col = Grid履歴リスト->currentColumn();
    if (row < 0 || !dat履歴) return;
    if (col == 0) {
        // The tick reaches w履歴リスト at once, before any deletion reads it.
        dat履歴->setValue(row, 0, !dat履歴->value(row, 0).toBool());
        return;
    }
    if (!dat履歴->editText(row, 1).isEmpty()) cmd見積書_Click();
}
