#pragma once
// The customer part of the quotation header: the customer name with its
// honorific, the customer block, and their look-ups (the stored customer
// behind a typed name, the customer search component, the postal-code
// look-up). Its controls are private; the header panel reads and shows the
// customer through its value routines.

#include <QVariant>
#include <QWidget>

class QPushButton;
class MultiLineEdit;
class Session;
class TextComboBox;

// Input and output of the customer look-up by name.
struct CustomerLookup {
    QVariant 顧客名;   // in
    QVariant ふりがな; // out
    QVariant 顧客情報; // out
    QVariant 敬称;     // out
};

class CustomerPanel : public QWidget {
    Q_OBJECT
public:
    // Placed in its parent at the customer's rows of the header.
    CustomerPanel(Session& session, QWidget* parent);

    // ---- Values ----------------------------------------------------------------
    QString name() const;
    void setName(const QString& name);
    QString block() const;
    void setBlock(const QString& block);
    QString honorific() const;
    void setHonorific(const QString& title);
    // The names the customer box offers.
    void setNames(const QStringList& names);
    // No name and no block; 様 chosen from 様, 御中 and 殿.
    void reset();
    void focusName();
    // The customer found by the last look-up by name.
    const CustomerLookup& lookupRecord() const { return CustomerLookupRecord; }

    // ---- Handlers --------------------------------------------------------------
    void Seek顧客情報();
    void cmb顧客名_LostFocus();
    void cmd顧客参照_Click();
    void cmd郵便_Click();

signals:
    // Enter in the customer name box.
    void nameEntered();

private:
    Session& session_;
    CustomerLookup CustomerLookupRecord;

    TextComboBox* cmb顧客名 = nullptr;
    TextComboBox* cmb敬称 = nullptr;
    QPushButton* cmd顧客参照 = nullptr;
    MultiLineEdit* txt顧客情報 = nullptr;
    QPushButton* cmd郵便 = nullptr;
};
