#pragma once
// The postal-code look-up of the quotation tab: given the data database and
// the postal dictionary ("yubin2000.mdb", table 郵便番号辞書), it shows a search
// by postal code or by address text and hands back a postal code and its
// address. The caller sees it only through the PostalLookup interface, which
// the session creates, so tests put their own look-up in its place.

#include <QDialog>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>

class Database;
class Session;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

struct PostalEntry {
    QString 郵便番号;  // seven digits, no hyphen
    QString 住所;      // 都道府県 + 市区町村 + 町域
};

// What the caller uses, in the order it calls it: the two paths, show (returns
// when the user has closed the look-up), take the result, then the code ("" when
// nothing was chosen) and the address.
class PostalLookup {
public:
    virtual ~PostalLookup() = default;
    virtual void setDataFile(const QVariant& path) = 0;
    virtual void setDictionaryFile(const QVariant& path) = 0;
    virtual void show() = 0;
    virtual QVariant takeResult() = 0;
    virtual QString postalCode() const = 0;
    virtual QString address() const = 0;

    // A new look-up that shows the search dialog.
    static std::unique_ptr<PostalLookup> createDialog();
    // Makes a look-up; nothing when none can be made.
    using Factory = std::function<std::unique_ptr<PostalLookup>()>;
};

// Searches the dictionary. A query of digits (half- or full-width, a hyphen
// allowed) finds the codes that begin with them; any other text finds the
// entries whose address or reading contains it. At most `limit` entries in
// code order. ok (when given) is false when the dictionary cannot be read.
QList<PostalEntry> SearchPostalDictionary(Database& dictionary, const QString& query, int limit = 500,
                                          bool* ok = nullptr);

// The search dialog. Its controls are private and carry their own names as
// objectName.
class PostalLookupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PostalLookupDialog(const QString& dictionaryPath, QWidget* parent = nullptr);
    ~PostalLookupDialog() override;

    // Runs a search with the text of the search box and fills the list.
    void search();
    // Takes the selected entry and closes the dialog (accepted); nothing
    // happens without a selection.
    void pick();
    PostalEntry result() const { return result_; }

private:
    std::unique_ptr<Database> dictionary_;
    PostalEntry result_;

    QLineEdit* txt検索 = nullptr;
    QPushButton* cmd検索 = nullptr;
    QTableWidget* lst結果 = nullptr;
    QLabel* lblMessage = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdキャンセル = nullptr;
};

// "1234567" -> "123-4567"; a value holding "-" or of another length comes back
// unchanged; "" stays "".
QString FormatPostalCode(const QString& value);

// The postal-code look-up behind the 郵便 buttons: when the dictionary file is
// missing it says so ("ファイルなし") and stops; otherwise it runs the
// session's look-up (data file and dictionary handed over, search shown, result
// taken) and gives the customer block of the chosen entry, "〒" + the code as
// nnn-nnnn + CR LF + the address. Nothing when nothing was chosen or no
// look-up could be made. The caller writes the block only into an empty box.
std::optional<QString> LookUpPostalBlock(Session& session);
