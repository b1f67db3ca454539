#include "app/PostalLookup.h"

#include "app/Session.h"
#include "platform/SearchPattern.h"
#include "platform/Database.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QVBoxLayout>

Q_LOGGING_CATEGORY(lcPostal, "velt.postal")

namespace {

// Full-width digits and hyphens folded to ASCII; blanks removed.
QString foldQuery(const QString& q)
{
    QString out;
    for (QChar c : q) {
        const ushort u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            out += QChar(u - 0xFF10 + '0');
        else if (u == 0xFF0D || u == 0x2212 || u == 0x30FC || u == 0x2010)
            out += '-';
        else if (!c.isSpace() && u != 0x3000)
            out += c;
    }
    return out;
}

// The look-up the quotation tab uses: a modal search dialog over the dictionary.
class DialogPostalLookup final : public PostalLookup {
public:
    void setDataFile(const QVariant& path) override { dataFile_ = path.toString(); }
    void setDictionaryFile(const QVariant& path) override { dictionaryFile_ = path.toString(); }
    void show() override
    {
        PostalLookupDialog dialog(dictionaryFile_, QApplication::activeWindow());
        if (dialog.exec() == QDialog::Accepted) picked_ = dialog.result();
    }
    QVariant takeResult() override
    {
        code_ = picked_.郵便番号;
        address_ = picked_.住所;
        return {};
    }
    QString postalCode() const override { return code_; }
    QString address() const override { return address_; }

private:
    QString dataFile_, dictionaryFile_;
    PostalEntry picked_;
    QString code_, address_;
};

}  // namespace

std::unique_ptr<PostalLookup> PostalLookup::createDialog()
{
    return std::make_unique<DialogPostalLookup>();
}

QList<PostalEntry> SearchPostalDictionary(Database& dictionary, const QString& query, int limit, bool* ok)
{
    QList<PostalEntry> out;
    if (ok) *ok = true;
    const QString q = foldQuery(query);
    if (q.isEmpty()) return out;
    static const QRegularExpression codeQuery(QStringLiteral("^[0-9]{1,3}(-?[0-9]{0,4})?$"));
    QString sql = QStringLiteral("select 郵便番号, coalesce(都道府県, '') || coalesce(市区町村, '') || coalesce(町域, '') "
                                 "from 郵便番号辞書 where ");
    QVariantList binds;
    if (codeQuery.match(q).hasMatch()) {
        sql += QStringLiteral("郵便番号 like ? escape '\\'");
        binds << LikeLiteral(QString(q).remove('-')) + '%';
    } else {
        sql += QStringLiteral("(coalesce(都道府県, '') || coalesce(市区町村, '') || coalesce(町域, '') like ? escape '\\' "
                              "or coalesce(都道府県カナ, '') || coalesce(市区町村カナ, '') || coalesce(町域カナ, '') like ? escape '\\')");
        const QString p = '%' + LikeLiteral(q) + '%';
        binds << p << p;
    }
    sql += QStringLiteral(" order by 郵便番号, rowid limit ?");
    binds << limit;
    bool readOk = false;
    for (const QSqlRecord& r : dictionary.rows(sql, binds, &readOk))
        out.append({dbv::text(r.value(0)), dbv::text(r.value(1))});
    if (!readOk) qCWarning(lcPostal) << "postal dictionary search failed:" << dictionary.lastError();
    if (ok) *ok = readOk;
    return out;
}

PostalLookupDialog::PostalLookupDialog(const QString& dictionaryPath, QWidget* parent)
    : QDialog(parent), dictionary_(std::make_unique<Database>())
{
    setObjectName(QStringLiteral("FrmPostalLookup"));
    setWindowTitle(QStringLiteral("郵便番号検索"));
    setModal(true);
    resize(560, 420);

    txt検索 = new QLineEdit(this);
    txt検索->setObjectName(QStringLiteral("txt検索"));
    txt検索->setPlaceholderText(QStringLiteral("郵便番号または住所の一部"));
    cmd検索 = new QPushButton(QStringLiteral("検索"), this);
    cmd検索->setObjectName(QStringLiteral("cmd検索"));
    lst結果 = new QTableWidget(0, 2, this);
    lst結果->setObjectName(QStringLiteral("lst結果"));
    lst結果->setHorizontalHeaderLabels({QStringLiteral("郵便番号"), QStringLiteral("住所")});
    lst結果->horizontalHeader()->setStretchLastSection(true);
    lst結果->verticalHeader()->hide();
    lst結果->setSelectionBehavior(QAbstractItemView::SelectRows);
    lst結果->setSelectionMode(QAbstractItemView::SingleSelection);
    lst結果->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdキャンセル = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdキャンセル->setObjectName(QStringLiteral("cmdキャンセル"));

    auto* top = new QHBoxLayout;
    top->addWidget(txt検索, 1);
    top->addWidget(cmd検索);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblMessage, 1);
    bottom->addWidget(cmdOK);
    bottom->addWidget(cmdキャンセル);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lst結果, 1);
    layout->addLayout(bottom);

    connect(cmd検索, &QPushButton::clicked, this, &PostalLookupDialog::search);
    connect(txt検索, &QLineEdit::returnPressed, this, &PostalLookupDialog::search);
    connect(lst結果, &QTableWidget::cellDoubleClicked, this, [this] { pick(); });
    connect(cmdOK, &QPushButton::clicked, this, &PostalLookupDialog::pick);
    connect(cmdキャンセル, &QPushButton::clicked, this, &QDialog::reject);
    cmd検索->setAutoDefault(false);
    cmdOK->setAutoDefault(false);
    // Enter in the search box searches; only the buttons close the dialog.
    cmdキャンセル->setAutoDefault(false);

    // The dictionary is only read: open it without changing its journal.
    if (!dictionary_->open(dictionaryPath, Database::Role::Data, false)) {
        lblMessage->setText(QStringLiteral("郵便番号辞書を開けません"));
        qCWarning(lcPostal) << "cannot open the postal dictionary" << dictionaryPath << dictionary_->lastError();
    }
}

PostalLookupDialog::~PostalLookupDialog() = default;

void PostalLookupDialog::search()
{
    lst結果->setRowCount(0);
    if (!dictionary_->isOpen()) return;
    constexpr int limit = 500;
    bool ok = false;
    const QList<PostalEntry> found = SearchPostalDictionary(*dictionary_, txt検索->text(), limit, &ok);
    lst結果->setRowCount(int(found.size()));
    for (int i = 0; i < found.size(); ++i) {
        const QString& c = found[i].郵便番号;
        lst結果->setItem(i, 0, new QTableWidgetItem(c.size() == 7 ? c.left(3) + '-' + c.mid(3) : c));
        lst結果->item(i, 0)->setData(Qt::UserRole, c);
        lst結果->setItem(i, 1, new QTableWidgetItem(found[i].住所));
    }
    if (!ok)
        lblMessage->setText(QStringLiteral("郵便番号辞書を読めません"));
    else if (found.isEmpty())
        lblMessage->setText(QStringLiteral("該当する住所がありません"));
    else if (found.size() == limit)
        lblMessage->setText(QStringLiteral("%1 件まで表示しています。条件を絞ってください").arg(limit));
    else
        lblMessage->setText(QStringLiteral("%1 件").arg(found.size()));
    if (!found.isEmpty()) lst結果->selectRow(0);
}

void PostalLookupDialog::pick()
{
    const int row = lst結果->currentRow();
    if (row < 0 || !lst結果->item(row, 0)) return;
    result_ = {lst結果->item(row, 0)->data(Qt::UserRole).toString(), lst結果->item(row, 1)->text()};
    accept();
}

QString FormatPostalCode(const QString& value)
{
    if (value.isEmpty()) return QString();
    if (value.contains(QLatin1Char('-'))) return value;
    if (value.size() == 7) return value.left(3) + QLatin1Char('-') + value.right(4);
    return value;
}

std::optional<QString> LookUpPostalBlock(Session& session)
{
    if (!QFileInfo::exists(session.PostalDictionaryPath())) {
        session.messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("ファイルなし"), QStringLiteral("郵便番号辞書"));
        return std::nullopt;
    }
    auto lookup = session.createPostalLookup();
    if (!lookup) return std::nullopt;
    lookup->setDataFile(session.DataDbPath());
    lookup->setDictionaryFile(session.PostalDictionaryPath());
    lookup->show();
    lookup->takeResult();
    const QString code = lookup->postalCode();
    if (code.isEmpty()) return std::nullopt;
    return QStringLiteral("〒") + FormatPostalCode(code) + QStringLiteral("\r\n") + lookup->address();
}
