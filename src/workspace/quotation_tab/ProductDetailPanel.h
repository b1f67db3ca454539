#pragma once
// The product-detail panel of the quotation tab (Cn商品詳細): the product
// fields of the current detail line in larger boxes. 登録 stores the product
// into 商品マスタ (with new code values) and writes it back into the line
// through the line hooks the tab gives it.

#include "app/ProductMaster.h"

#include <QFrame>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class NumberBox;
class Session;
class TextComboBox;
struct ProductDetailFields;

class ProductDetailPanel : public QFrame {
    Q_OBJECT
public:
    // The detail line the panel writes into.
    struct Line {
        // The grid's current line; nothing when there is none to write into.
        std::function<std::optional<int>()> current;
        std::function<bool(int row)> isSubtotal;
        // Writes the stored product into the line; its price counts as a
        // typed one (the line's amount and the totals follow). False when
        // the line could not be written.
        std::function<bool(int row, const ProductDetail& product)> write;
    };
    // The three code lists the panel picks from.
    enum class CodeList { Unit, Category, Pack };  // 単位, 商品区分, 入数

    ProductDetailPanel(Session& session, QWidget* parent);
    void setLine(Line line);

    // Shows the panel with the line's product.
    void showProduct(const ProductDetail& product);
    // The pack-quantity caption by the 入数列タイトル setting.
    void setPackCaption(const QString& caption);
    // Replaces a code list; a text already typed into its box stays.
    void setCodeList(CodeList list, const QStringList& entries);

    void Entry商品詳細();
    void cmd顧客詳細登録_Click();
    void cmd顧客詳細クリア_Click();
    void cmd顧客詳細閉じる_Click();

signals:
    // クリア: the code lists are read again (all kinds).
    void codeListsRequested();
    // 閉じる: the panel is hidden.
    void closed();

private:
    ProductDetailFields fields() const;

    Session& session_;
    Line line_;

    QLineEdit* txt品名詳細 = nullptr;
    TextComboBox* cmb商品区分詳細 = nullptr;
    TextComboBox* cmb入数 = nullptr;
    TextComboBox* cmb単位詳細 = nullptr;
    NumberBox* num単価詳細 = nullptr;
    QLineEdit* txtふりがな = nullptr;
    QLabel* lbl入数詳細 = nullptr;
    QPushButton* cmd顧客詳細登録 = nullptr;
    QPushButton* cmd顧客詳細クリア = nullptr;
    QPushButton* cmd顧客詳細閉じる = nullptr;
};
