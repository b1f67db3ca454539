// The history list of stored quotations: listing by customer and date range,
// opening one from the list, deleting the ticked ones.

#include "workspace/HistoryTab.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "platform/GridView.h"
#include "platform/Twips.h"
#include "platform/WorkTableModel.h"
#include "app/BusyPanel.h"
#include "workspace/quotation_tab/GridBinding.h"
#include "workspace/QuotationStore.h"

#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcHistory, "velt.history")

HistoryTab::HistoryTab(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("tabHistory"));
    build();
    connect(cmd読込, &QPushButton::clicked, this, &HistoryTab::cmd読込_Click);
    connect(cmd履歴削除, &QPushButton::clicked, this, &HistoryTab::cmd履歴削除_Click);
    connect(cmd履歴クリア, &QPushButton::clicked, this, &HistoryTab::cmd履歴クリア_Click);
    connect(cmd見積書, &QPushButton::clicked, this, &HistoryTab::cmd見積書_Click);
    connect(cmd履歴閉じる, &QPushButton::clicked, this, &HistoryTab::closeClicked);
    connect(Grid履歴リスト, &GridView::cellClicked, this, [this](int row, int col) {
        Grid履歴リスト->setCurrentCell(row, col);
        Grid履歴リスト_Click();
    });
}

void HistoryTab::build()
{
    QWidget* p = this;
    using namespace ui;

    label(p, QStringLiteral("顧客名"), 120, 120, 780);
    cmb履歴顧客名 = make<TextComboBox>(p, QStringLiteral("cmb履歴顧客名"), 945, 120, 5205, 330);

    label(p, QStringLiteral("期間"), 120, 540, 780);
    txt開始 = make<DateBox>(p, QStringLiteral("txt開始"), 945, 540, 2370, 330);
    Label28 = label(p, QStringLiteral("～"), 3450, 540, 300, 330, QStringLiteral("Label28"));
    txt終了 = make<DateBox>(p, QStringLiteral("txt終了"), 3780, 540, 2370, 330);

    label(p, QStringLiteral("登録件数"), 120, 960, 780);
    num登録件数 = make<NumberBox>(p, QStringLiteral("num登録件数"), 945, 960, 1200, 330);
    num登録件数->setDisplayFormat(QStringLiteral("###,###"));
    num登録件数->setReadOnly(true);

    const double bt = 120, bh = 780;
    cmd読込 = button(p, QStringLiteral("cmd読込"), QStringLiteral("読込"), 6480, bt, 1020, bh,
                     QStringLiteral("登録済み伝票を条件により表示します。"));
    cmd履歴クリア = button(p, QStringLiteral("cmd履歴クリア"), QStringLiteral("クリア"), 7560, bt, 1020, bh,
                           QStringLiteral("読込条件と明細行儀面を消去します。登録済みの伝票は削除されません。"));
    cmd履歴削除 = button(p, QStringLiteral("cmd履歴削除"), QStringLiteral("削除"), 8640, bt, 1020, bh,
                         QStringLiteral("チェックマークのある伝票を削除します。マークは複数可能です。"));
    cmd見積書 = button(p, QStringLiteral("cmd見積書"), QStringLiteral("見積書"), 9720, bt, 1020, bh);
    cmd履歴閉じる = button(p, QStringLiteral("cmd履歴閉じる"), QStringLiteral("閉じる"), 10920, bt, 1260, bh,
                           QStringLiteral("見積書を終了します。伝票の登録は忘れてませんか"));

    Grid履歴リスト = make<GridView>(p, QStringLiteral("Grid履歴リスト"), 120, 1440, 12060, 7620);

    CnRirekiMsg = busyPanel(p, QStringLiteral("CnRirekiMsg"), QStringLiteral("lblRirekiMsg"), 4140, 4200, &lblRirekiMsg);
}

void HistoryTab::bindGrids()
{
    using Kind = WorkTableModel::Kind;
    BindWorkTable(this, session_.WorkDb(), dat履歴, QStringLiteral("w履歴リスト"), QStringLiteral("dat履歴"));
    SetColumnKinds(dat履歴, {{u"チェック", Kind::Bool}, {u"伝票番号", Kind::Integer}, {u"日付", Kind::Date}});
    const QList<std::pair<QString, int>> columns{{QString(), 450},
                                                 {QStringLiteral("伝票番号"), 1200},
                                                 {QStringLiteral("日  付"), 1500},
                                                 {QStringLiteral("顧  客  名"), 4200},
                                                 {QStringLiteral("件       名"), 4200}};
    for (int c = 0; c < dat履歴->columnCount() && c < columns.size(); ++c) {
        dat履歴->column(c).caption = columns[c].first;
        dat履歴->column(c).widthTwips = columns[c].second;
        dat履歴->column(c).readOnly = true;  // the tick is toggled by the list's click handler
    }
    dat履歴->column(HistoryColumn::伝票番号).alignment = Qt::AlignRight | Qt::AlignVCenter;
    Grid履歴リスト->setModel(dat履歴);
    Grid履歴リスト->applyColumns();
}

void HistoryTab::applyLayout(const SettingsRecord& s)
{
    auto placeLeftWidth = [](QWidget* w, double left, double width) {
        w->setGeometry(twips(left), w->y(), twips(width), w->height());
    };
    auto& date = dat履歴->column(HistoryColumn::日付);
    if (s.年号 == QStringLiteral("和暦")) {
        date.dateFormat = QStringLiteral("gee/mm/dd");
        placeLeftWidth(txt開始, 945, 2370);
        placeLeftWidth(txt終了, 3780, 2370);
        Label28->move(twips(3450), Label28->y());
        txt開始->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
        txt終了->setFormats(QStringLiteral("ggg ee年mm月dd日"), QStringLiteral("ggg ee年 mm月"));
    } else {
        date.dateFormat = QStringLiteral("yyyy/mm/dd");
        txt開始->resize(twips(1590), txt開始->height());
        placeLeftWidth(txt終了, 3000, 1590);
        txt開始->setFormats(QStringLiteral("yyyy/mm/dd"), QStringLiteral("yyyy年 mm月"));
        txt終了->setFormats(QStringLiteral("yyyy/mm/dd"), QStringLiteral("yyyy年 mm月"));
        Label28->move(twips(2670), Label28->y());
    }
    Grid履歴リスト->applyColumns();
}

void HistoryTab::setOpenQuotation(std::function<void(const QString&)> open)
{
    openQuotation_ = std::move(open);
}

void HistoryTab::setCustomerNames(const QStringList& names)
{
    cmb履歴顧客名->setItems(names);
}

void HistoryTab::Read見積履歴()
{
    BusyPanel busy(session_, CnRirekiMsg, lblRirekiMsg, QStringLiteral("読込中です････"));
    if (!busy.active()) return;
    HistoryFilter filter;
    filter.顧客名 = cmb履歴顧客名->text();
    filter.開始 = txt開始->date();
    filter.終了 = txt終了->date();
    const auto count = FillHistoryList(session_.WorkDb(), session_.DataDb(), filter);
    if (!count) qCWarning(lcHistory) << "history list not read:" << session_.WorkDb().lastError() << session_.DataDb().lastError();
    if (dat履歴) dat履歴->refresh();
    num登録件数->setValue(Currency::fromWhole(count.value_or(0)));
}

void HistoryTab::Clear履歴()
{
    if (!session_.WorkDb().exec(QStringLiteral("delete from w履歴リスト")))
        qCWarning(lcHistory) << "history list not emptied:" << session_.WorkDb().lastError();
    if (dat履歴) dat履歴->refresh();
}

void HistoryTab::Delete履歴()
{
    if (session_.operationRunning()) return;
    const MessageCatalog& messages = session_.messages();
    if (!messages.ShowMessage(QStringLiteral("削除"), QStringLiteral("指定確認"), QStringLiteral("見積書"))) return;
    bool ok = false;
    const auto ticked = session_.WorkDb().rows(QStringLiteral("select distinct 伝票番号 from w履歴リスト where チェック <> 0"), {}, &ok);
    if (!ok) {
        messages.ShowFailure(QStringLiteral("見積書を削除できませんでした。"), session_.WorkDb().lastError());
        return;
    }
    if (ticked.isEmpty()) return;
    QList<int> numbers;
    for (const QSqlRecord& r : ticked)
        if (!dbv::isNull(r.value(0))) numbers << r.value(0).toInt();
    const StoreOutcome outcome = DeleteQuotations(session_.DataDb(), numbers);
    if (!outcome.ok) {
        // Nothing was deleted, so the list stays as it is, ticks included.
        messages.ShowFailure(QStringLiteral("見積書を削除できませんでした。"), outcome.error);
        return;
    }
    if (!session_.WorkDb().exec(QStringLiteral("delete from w履歴リスト where チェック <> 0")))
        qCWarning(lcHistory) << "ticked rows not removed from the list:" << session_.WorkDb().lastError();
    if (dat履歴) dat履歴->refresh();
}

void HistoryTab::cmd読込_Click()
{
    Read見積履歴();
}

void HistoryTab::cmd履歴削除_Click()
{
    Delete履歴();
}

void HistoryTab::cmd履歴クリア_Click()
{
    Clear履歴();
    cmb履歴顧客名->setText(QString());
    txt開始->setNull();
    txt終了->setNull();
    num登録件数->setNull();
}

void HistoryTab::cmd見積書_Click()
{
    const int row = Grid履歴リスト->currentRow();
    if (row < 0 || !dat履歴) return;
    const QString number = dat履歴->editText(row, HistoryColumn::伝票番号);
    if (number.isEmpty() || !openQuotation_) return;
    openQuotation_(number);
}

void HistoryTab::Grid履歴リスト_Click()
{
    const int row = Grid履歴リスト->currentRow();
    const int col = Grid履歴リスト->currentColumn();
    if (row < 0 || !dat履歴) return;
    if (col == HistoryColumn::チェック) {
        // The tick reaches w履歴リスト at once, before any deletion reads it.
        if (!dat履歴->setValue(row, HistoryColumn::チェック, !dat履歴->value(row, HistoryColumn::チェック).toBool()))
            session_.messages().ShowFailure(QStringLiteral("チェックを書き込めませんでした。"), session_.WorkDb().lastError());
        return;
    }
    if (!dat履歴->editText(row, HistoryColumn::伝票番号).isEmpty()) cmd見積書_Click();
}
