#pragma once
// The history tab of the main window: stored quotations listed by customer and
// date range (newest first) on the work table w履歴リスト, ticked and deleted,
// or opened on the quotation tab. It owns its controls and handlers and keeps
// its controls private (tests find them by object name); the frame opens
// quotations through setOpenQuotation and closes on closeClicked.

#include "platform/Controls.h"
#include "workspace/TabLinks.h"

#include <QWidget>
#include <functional>

class QFrame;
class QLabel;
class QPushButton;
class GridView;
class Session;
struct SettingsRecord;
class WorkTableModel;

// Columns of w履歴リスト and of the history grid.
namespace HistoryColumn {
constexpr int チェック = 0;
constexpr int 伝票番号 = 1;
constexpr int 日付 = 2;
constexpr int 顧客名 = 3;
constexpr int 件名 = 4;
}  // namespace HistoryColumn

class HistoryTab : public QWidget, public HistoryList {
    Q_OBJECT
public:
    explicit HistoryTab(Session& session, QWidget* parent = nullptr);

    // The list's model over w履歴リスト.
    void bindGrids();
    // The filter's date formats and places by the era setting.
    void applyLayout(const SettingsRecord& settings);
    // Opens a quotation by number on the quotation tab (the frame sets it).
    void setOpenQuotation(std::function<void(const QString& number)> open);

    void Read見積履歴();
    void Delete履歴();
    void cmd読込_Click();
    void cmd履歴削除_Click();
    void cmd履歴クリア_Click();
    void cmd見積書_Click();
    void Grid履歴リスト_Click();

    // HistoryList
    void setCustomerNames(const QStringList& names) override;
    void Clear履歴() override;

signals:
    void closeClicked();  // cmd履歴閉じる

private:
    void build();

    Session& session_;
    std::function<void(const QString&)> openQuotation_;

    TextComboBox* cmb履歴顧客名 = nullptr;
    DateBox* txt開始 = nullptr;
    DateBox* txt終了 = nullptr;
    QLabel* Label28 = nullptr;
    NumberBox* num登録件数 = nullptr;
    GridView* Grid履歴リスト = nullptr;
    WorkTableModel* dat履歴 = nullptr;
    QFrame* CnRirekiMsg = nullptr;
    QLabel* lblRirekiMsg = nullptr;
    QPushButton* cmd読込 = nullptr;
    QPushButton* cmd履歴削除 = nullptr;
    QPushButton* cmd履歴クリア = nullptr;
    QPushButton* cmd見積書 = nullptr;
    QPushButton* cmd履歴閉じる = nullptr;
};
