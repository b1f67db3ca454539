// The customer part of the quotation header: its controls (twips, relative to
// the panel, which sits at the customer's rows of the header) and the
// customer look-ups.

#include "workspace/quotation_tab/CustomerPanel.h"

#include "platform/ClsPelmarInterface.h"
#include "platform/ComponentRegistry.h"
#include "app/MessageCatalog.h"
#include "app/PostalLookup.h"
#include "app/Session.h"
#include "app/UiBuild.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcCustomerLookup, "velt.customer")

namespace {

// The panel's top in the header: its controls' places are given from here.
constexpr double kTop = 540;

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

// Why the customer search cannot open, in the user's words; the loader's own
// words go to the box's details.
QString SearchUnavailable(const ComponentFailure& failure)
{
    const QString file = QDir::toNativeSeparators(failure.file);
    QString why;
    switch (failure.kind) {
    case ComponentFailure::Kind::LibraryMissing:
        why = QStringLiteral("顧客検索コンポーネントのライブラリ「%1」が見つからないため").arg(file);
        break;
    case ComponentFailure::Kind::NotALibrary:
        why = QStringLiteral("顧客検索コンポーネントとして登録されたファイル「%1」が顧客検索のライブラリではないため").arg(file);
        break;
    case ComponentFailure::Kind::RegistryDamaged:
        why = QStringLiteral("コンポーネントの登録ファイル「%1」が壊れているため").arg(file);
        break;
    case ComponentFailure::Kind::None:
    case ComponentFailure::Kind::NotRegistered:
        why = QStringLiteral("顧客検索コンポーネントが登録されていないため");
        break;
    }
    return why + QStringLiteral("、顧客参照を開けません。");
}

}  // namespace

CustomerPanel::CustomerPanel(Session& session, QWidget* parent) : QWidget(parent), session_(session)
{
    setObjectName(QStringLiteral("Customer"));
    setGeometry(twipsRect(0, kTop, 6600, 1440));

    QWidget* p = this;
    using namespace ui;
    label(p, QStringLiteral("顧客名"), 120, 540 - kTop, 840);
    cmb顧客名 = make<TextComboBox>(p, QStringLiteral("cmb顧客名"), 1020, 540 - kTop, 3900, 330);
    cmb敬称 = make<TextComboBox>(p, QStringLiteral("cmb敬称"), 4950, 540 - kTop, 900, 330);
    cmd顧客参照 = button(p, QStringLiteral("cmd顧客参照"), QStringLiteral("参照"), 5880, 540 - kTop, 720, 330,
                         QStringLiteral("顧客参照フォームを開きます"));

    label(p, QStringLiteral("顧客情報"), 120, 960 - kTop, 840);
    txt顧客情報 = make<MultiLineEdit>(p, QStringLiteral("txt顧客情報"), 1020, 960 - kTop, 4830, 1020);
    cmd郵便 = button(p, QStringLiteral("cmd郵便"), QStringLiteral("郵便"), 5880, 960 - kTop, 720, 330,
                     QStringLiteral("郵便番号検索フォームを開きます"));

    connect(cmd顧客参照, &QPushButton::clicked, this, &CustomerPanel::cmd顧客参照_Click);
    connect(cmd郵便, &QPushButton::clicked, this, &CustomerPanel::cmd郵便_Click);
    KeyHook::install(cmb顧客名, [this](int& key, Qt::KeyboardModifiers) {
        if (key == VKey::Enter) emit nameEntered();
    });
    new FocusLeaveHook(cmb顧客名, [this] { cmb顧客名_LostFocus(); });
}

QString CustomerPanel::name() const
{
    return cmb顧客名->text();
}

void CustomerPanel::setName(const QString& name)
{
    cmb顧客名->setText(name);
}

QString CustomerPanel::block() const
{
    return txt顧客情報->text();
}

void CustomerPanel::setBlock(const QString& block)
{
    txt顧客情報->setText(block);
}

QString CustomerPanel::honorific() const
{
    return cmb敬称->text();
}

void CustomerPanel::setHonorific(const QString& title)
{
    cmb敬称->setText(title);
}

void CustomerPanel::setNames(const QStringList& names)
{
    cmb顧客名->setItems(names);
}

void CustomerPanel::reset()
{
    cmb敬称->setItems({QStringLiteral("様"), QStringLiteral("御中"), QStringLiteral("殿")});
    cmb敬称->setText(QStringLiteral("様"));
    cmb顧客名->setText(QString());
    txt顧客情報->setText(QString());
}

void CustomerPanel::focusName()
{
    cmb顧客名->setFocus();
}

void CustomerPanel::Seek顧客情報()
{
    CustomerLookup& r = CustomerLookupRecord;
    r.ふりがな = r.顧客情報 = r.敬称 = QVariant();
    bool ok = false;
    const auto row = session_.DataDb().firstRow(
        QStringLiteral("select 顧客情報, ふりがな, 敬称 from 顧客マスタ where 顧客名 = ? order by rowid limit 1"),
        {dbv::isNull(r.顧客名) ? QVariant() : QVariant(r.顧客名.toString())}, &ok);
    if (!ok) qCWarning(lcCustomerLookup) << "customer look-up failed:" << session_.DataDb().lastError();
    if (!row) return;
    r.顧客情報 = row->value(0);
    r.ふりがな = row->value(1);
    r.敬称 = row->value(2);
}

void CustomerPanel::cmb顧客名_LostFocus()
{
    const QString name = cmb顧客名->text();
    if (name.isEmpty()) {
        txt顧客情報->setText(QString());
        return;
    }
    CustomerLookupRecord.顧客名 = name;
    Seek顧客情報();
    const CustomerLookup& r = CustomerLookupRecord;
    if (dbv::isNull(r.顧客情報)) return;  // unknown customer or no stored block: keep the header
    txt顧客情報->setText(r.顧客情報.toString());
    cmb敬称->setText(dbv::text(r.敬称));
}

void CustomerPanel::cmd顧客参照_Click()
{
    ComponentFailure failure;
    auto search = session_.components().create<ClsPelmarInterface>(QString::fromLatin1(ClsPelmarInterface::ClassId), &failure);
    if (!search) {
        session_.messages().ShowWithDetails(QStringLiteral("その他"), QStringLiteral("注意"), SearchUnavailable(failure),
                                            failure.engine);
        cmb顧客名->setFocus();
        return;
    }
    search->setPcDataFile(session_.DataDbPath());
    search->setPcColorSet(QVariant::fromValue<qint16>(1));
    const bool picked = search->FormShow();
    search->SetRetVal();
    // Closed without a pick: the name stays as it was (the component would
    // still hand back an earlier pick).
    if (picked) cmb顧客名->setText(dbv::text(search->pc顧客名()));
    cmb顧客名->setFocus();
}

void CustomerPanel::cmd郵便_Click()
{
    const std::optional<QString> block = LookUpPostalBlock(session_);
    // Fills only an empty customer block; a block the user has is never replaced.
    if (block && txt顧客情報->text().isEmpty()) txt顧客情報->setText(*block);
}
