#pragma once
// The header panel of the quotation tab: the number and its stepping
// buttons, the date, the customer (a part of its own, CustomerPanel, with the
// customer look-ups), subject, terms, memo and seal boxes, the totals and the
// own-company captions. Its controls are private; the tab reads and shows a
// header through its value routines. Loading a number is not the panel's: it
// asks for it with numberCommitted().

#include "platform/Controls.h"
#include "workspace/QuotationStore.h"
#include "workspace/quotation_tab/LineWidget.h"

#include <QWidget>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class CustomerPanel;
class MessageCatalog;
class Session;
struct CalcResult;
struct PrintSettingsEntry;
struct ShownQuotation;

class HeaderPanel : public QWidget {
    Q_OBJECT
public:
    HeaderPanel(Session& session, QWidget* parent);

    // The header lists filled from the code table.
    enum class CodeList { Validity, Payment, Delivery, DeliveryDate };  // 有効期限, 支払条件, 受渡場所, 納期

    // ---- Layout ----------------------------------------------------------------
    // The date format by the era setting (和暦 or not), and the seal boxes' places.
    void applyLayout(bool era);
    // The own-company labels in the fonts of the A4 layout's entry.
    void applyOwnCompanyFonts(const PrintSettingsEntry& a4);
    void showOwnCompany(const QString& name, const QString& info);

    // ---- Values ----------------------------------------------------------------
    // A loaded header (a Null 顧客名 or 顧客情報 leaves the box as it is).
    void showHeader(const QuotationHeader& h);
    // The header as on screen, without its number.
    QuotationHeader header() const;
    // The header as shown, for the other windows.
    void fillShown(ShownQuotation& q) const;
    // The totals of a calculation; the quotation amount as the result says.
    void showTotals(const CalcResult& r);
    // An empty header: 様 as title, today's date, no totals; the tax boxes
    // enabled by the tax setting.
    void reset(bool tax);
    void setSealTitles(const std::array<QString, 4>& titles);
    void setCodeList(CodeList list, const QStringList& entries);
    void setCustomerNames(const QStringList& names);

    QString numberText() const;
    // From code: loads nothing by itself.
    void setNumberText(const QString& text);
    // True while a typed number is not yet committed with Enter.
    bool numberBeingTyped() const;
    void setCustomerName(const QString& name);
    void setCustomerBlock(const QString& block);
    // True when number, date and customer are filled. Otherwise `tell` runs
    // and the focus goes to the first of them that is empty.
    bool checkRequired(const std::function<void()>& tell);
    // The date and the quotation amount take what is typed in them; false
    // (the warning shown, the typed text kept) when one of them refuses it.
    bool commitTyped();
    // The date or the quotation amount shows typed text they have not taken.
    bool holdsUntakenText() const;

    void focusNumber();
    void focusCustomer();

    // ---- Handlers --------------------------------------------------------------
    void txtNo_EnterKey(int& key);
    void txtNo_Commit();
    void cmd次伝票_Click();
    void cmd前伝票_Click();

signals:
    // The number in txtNo is to be loaded.
    void numberCommitted();
    // Enter in the customer box or the last term box: on into the detail grid.
    void leftHeader(bool fromCustomer);
    void customerMasterClicked();     // cmd顧客マスタ
    void productMasterClicked();      // cmd商品
    void codeListClicked();           // cmdコード
    void ownNameDoubleClicked();      // lbl自社名
    void ownInfoDoubleClicked();      // lbl自社情報

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void build(Session& session);
    void connectKeys();
    // Steps the number by `step` (back not below 1) and asks for its load.
    void stepNumber(double step);

    const MessageCatalog& messages_;
    CustomerPanel* customer_ = nullptr;

    QLineEdit* txtNo = nullptr;
    QPushButton* cmd前伝票 = nullptr;
    QPushButton* cmd次伝票 = nullptr;
    QPushButton* cmd顧客マスタ = nullptr;
    QPushButton* cmd商品 = nullptr;
    QPushButton* cmdコード = nullptr;
    DateBox* dt日付 = nullptr;
    QLineEdit* txt件名 = nullptr;
    MultiLineEdit* txtメモ = nullptr;
    TextComboBox* cmb有効期限 = nullptr;
    TextComboBox* cmb支払条件 = nullptr;
    TextComboBox* cmb受渡場所 = nullptr;
    TextComboBox* cmb納期 = nullptr;
    std::array<QLineEdit*, 4> txt印鑑{};
    std::array<LineWidget*, 8> 印鑑Line{};  // 印鑑Line1 .. 印鑑Line8
    NumberBox* num税抜計 = nullptr;
    NumberBox* num消費税 = nullptr;
    NumberBox* num合計 = nullptr;
    NumberBox* num見積金額 = nullptr;
    QLabel* lbl税抜計 = nullptr;
    QLabel* Lbl消費税 = nullptr;
    QLabel* lbl合計 = nullptr;
    QLabel* lbl見積金額 = nullptr;
    QLabel* lbl自社名 = nullptr;
    QLabel* lbl自社情報 = nullptr;
};
