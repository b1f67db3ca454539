// Customer look-ups and the Enter chain of the quotation header: the stored
// customer behind a typed name, the customer search component, the postal-code
// look-up.

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentRegistry.h"
#include "platform/GridView.h"
#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/PostalLookup.h"
#include "workspace/quotation_tab/DetailGrid.h"
#include "workspace/quotation_tab/HeaderPanel.h"
#include "workspace/quotation_tab/QuotationTab.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcCustomerLookup, "velt.customer")

namespace {

// Calls a handler when the focus leaves a widget for another control of the
// same window (not when a pop-up list opens or another window is activated).
class FocusLeaveHook : public QObject {
public:
    FocusLeaveHook(QWidget* w, std::function<void()> f) : QObject(w), widget_(w), f_(std::move(f))
    {
        w->installEventFilter(this);
        if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
            combo->lineEdit()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(e)->reason();
            QWidget* next = QApplication::focusWidget();
            const bool stillInside = next && (next == widget_ || widget_->isAncestorOf(next));
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && !stillInside) f_();
        }
        return QObject::eventFilter(o, e);
    }

private:
    QWidget* widget_;
    std::function<void()> f_;
};

}  // namespace

void QuotationTab::connectCustomerLookup()
{
    new FocusLeaveHook(header_->customerBox(), [this] { cmb顧客名_LostFocus(); });
    connect(header_, &HeaderPanel::customerReferenceClicked, this, &QuotationTab::cmd顧客参照_Click);
    connect(header_, &HeaderPanel::postalClicked, this, &QuotationTab::cmd郵便_Click);
    // Enter in the customer box or the last term box moves into the detail grid.
    connect(header_, &HeaderPanel::leftHeader, this, [this](bool fromCustomer) {
        if (fromCustomer)
            grid_->focusNameColumn();
        else
            grid_->focusGrid();
    });
}

void QuotationTab::Seek顧客情報()
{
    CustomerLookup& r = CustomerLookupRecord;
    r.ふりがな = r.顧客情報 = r.敬称 = QVariant();
    bool ok = false;
    const auto row = session_.DataDb.firstRow(
        QStringLiteral("select 顧客情報, ふりがな, 敬称 from 顧客マスタ where 顧客名 = ? order by rowid limit 1"),
        {dbv::isNull(r.顧客名) ? QVariant() : QVariant(r.顧客名.toString())}, &ok);
    if (!ok) qCWarning(lcCustomerLookup) << "customer look-up failed:" << session_.DataDb.lastError();
    if (!row) return;
    r.顧客情報 = row->value(0);
    r.ふりがな = row->value(1);
    r.敬称 = row->value(2);
}

void QuotationTab::cmb顧客名_LostFocus()
{
    const QString name = header_->customerName();
    if (name.isEmpty()) {
        header_->setCustomerBlock(QString());
        return;
    }
    CustomerLookupRecord.顧客名 = name;
    Seek顧客情報();
    const CustomerLookup& r = CustomerLookupRecord;
    if (dbv::isNull(r.顧客情報)) return;  // unknown customer or no stored block: keep the header
    header_->setCustomerBlock(r.顧客情報.toString());
    header_->setHonorific(dbv::text(r.敬称));
}

void QuotationTab::cmd顧客参照_Click()
{
    QString error;
    auto search = session_.components().create<ClsPelmarInterface>(QString::fromLatin1(ClsPelmarInterface::ClassId), &error);
    if (!search) {
        messages().ShowMessage(QStringLiteral("その他"), QStringLiteral("注意"),
                    QStringLiteral("顧客検索コンポーネントが登録されていないため、顧客参照を開けません。"));
        header_->focusCustomer();
        return;
    }
    search->setPcDataFile(session_.DataDbPath());
    search->setPcColorSet(QVariant::fromValue<qint16>(1));
    const bool picked = search->FormShow();
    search->SetRetVal();
    // Closed without a pick: the name stays as it was (the component would
    // still hand back an earlier pick).
    if (picked) setCustomerName(dbv::text(search->pc顧客名()));
    header_->focusCustomer();
}

void QuotationTab::cmd郵便_Click()
{
    const std::optional<QString> block = LookUpPostalBlock(session_);
    // Fills only an empty customer block; a block the user has is never replaced.
    if (block && header_->customerBlock().isEmpty()) header_->setCustomerBlock(*block);
}
