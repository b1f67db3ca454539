#include "masters/FrmCode.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "masters/MasterWrite.h"
#include "platform/Controls.h"
#include "platform/Database.h"
#include "platform/GridView.h"
#include "platform/WorkTableModel.h"

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcMasters)

namespace {

using Column = WorkTableModel::Column;

constexpr int kSlots = 99;
const QString kWorkTable = QStringLiteral("wコードマスタ");
const QString kScratchTable = QStringLiteral("wコードマスタソート");

// "01".."99".
QString slotCode(int index)
{
    return QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

// The slot a code names (0..98), or -1 for any other code ("7", "100", "").
int slotIndex(const QString& code)
{
    if (code.size() != 2 || !code[0].isDigit() || !code[1].isDigit() || code[0].unicode() > '9' ||
        code[1].unicode() > '9')
        return -1;
    const int n = code.toInt();
    return n >= 1 && n <= kSlots ? n - 1 : -1;
}

// Rows of a slot table afresh: the slots "01".."99" with the given texts, unticked.
bool fillSlots(Database& work, const QString& table, const QList<QVariant>& texts)
{
    const QString t = Database::quoteIdent(table);
    if (!work.exec(QStringLiteral("delete from ") + t)) return false;
    const QString insert = QStringLiteral("insert into %1 (チェック, code, sname) values (0, ?, ?)").arg(t);
    for (int i = 0; i < kSlots; ++i) {
        if (!work.exec(insert, {slotCode(i), i < texts.size() ? texts[i] : QVariant()})) return false;
    }
    return true;
}

// The stored list afresh: exactly the rows "01".."99", an empty slot as Null.
// Rows of the list under any other code go with the old rows.
bool storeCodeList(Database& data, const QString& kcode, const QList<QVariant>& texts)
{
    if (!data.exec(QStringLiteral("delete from コードマスタ where kcode = ?"), {kcode})) return false;
    for (int i = 0; i < kSlots; ++i) {
        if (!data.exec(QStringLiteral("insert into コードマスタ (kcode, code, sname) values (?, ?, ?)"),
                       {kcode, slotCode(i), dbv::textOrNull(i < texts.size() ? texts[i] : QVariant())}))
            return false;
    }
    return true;
}

}  // namespace

QStringList FrmCode::ListNames(const QString& packKind)
{
    return {QStringLiteral("単位"), QStringLiteral("商品区分"), packKind, QStringLiteral("有効期限"),
            QStringLiteral("支払条件"), QStringLiteral("受渡場所"), QStringLiteral("納期")};
}

FrmCode::FrmCode(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmコード"), QStringLiteral("コード表"), 6480, 8040, parent), session_(session)
{
    using namespace ui;
    Label1 = label(this, QStringLiteral("区分"), 240, 180, 600, 330, QStringLiteral("Label1"));
    cmb区分 = make<PickOnlyComboBox>(this, QStringLiteral("cmb区分"), 840, 180, 2640, 330);

    Gridコードマスタ = make<GridView>(this, QStringLiteral("Gridコードマスタ"), 240, 660, 6000, 6480);
    growWithWindow(Gridコードマスタ);
    datコード = new WorkTableModel(session_.WorkDb(), kWorkTable, this);
    datコード->setObjectName(QStringLiteral("datコード"));
    // 行番号 and code are shown, never typed over: a slot is its code.
    datコード->declareColumns({
        Column::number(QStringLiteral("行番号"), QStringLiteral("行番号"), 900, QStringLiteral("####0"),
                       WorkTableModel::Kind::Integer)
            .asReadOnly(),
        Column::tick(QStringLiteral("チェック")),
        Column::text(QStringLiteral("code"), QStringLiteral("code"), 720).asReadOnly().withInputMethod(false),
        Column::text(QStringLiteral("sname"), QStringLiteral("名     称"), 3700),
    });
    Gridコードマスタ->setModel(datコード);
    ShowRefusedEdits(datコード, session_.messages());
    // Enter in the text goes on to the next slot's text, to type a list down.
    const int name = datコード->columnOf(QStringLiteral("sname"));
    Gridコードマスタ->setEnterToNextRow(name, name);

    cmdクリア = button(this, QStringLiteral("cmdクリア"), QStringLiteral("クリア"), 240, 7260, 1200, 600,
                       QStringLiteral("伝票情報を画面上から消去します。登録済みの伝票は無くなりません。"));
    cmd行削除 = button(this, QStringLiteral("cmd行削除"), QStringLiteral("行削除"), 1560, 7260, 1200, 600,
                       QStringLiteral("明細行のフォーカスのある行を１行削除します。"));
    cmd登録 = button(this, QStringLiteral("cmd登録"), QStringLiteral("登録"), 2880, 7260, 1200, 600,
                     QStringLiteral("左明細のコードを登録します。"));
    cmd閉じる = button(this, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 5040, 7260, 1200, 600,
                       QStringLiteral("コード登録画面を終了します。"));

    connect(cmb区分, &PickOnlyComboBox::picked, this, &FrmCode::cmb区分_Click);
    connect(cmdクリア, &QPushButton::clicked, this, &FrmCode::cmdクリア_Click);
    connect(cmd行削除, &QPushButton::clicked, this, &FrmCode::cmd行削除_Click);
    connect(cmd登録, &QPushButton::clicked, this, &FrmCode::cmd登録_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &QWidget::close);

    // The load: the seven lists, the first one shown.
    cmb区分->setItems(ListNames(PackCodeKind(session_.設定情報)));
    cmb区分->setText(QStringLiteral("単位"));
    Readコード表(QStringLiteral("単位"));
}

void FrmCode::Readコード表(const QString& listName)
{
    Database& data = session_.DataDb();
    Database& work = session_.WorkDb();
    bool ok = false;
    const QList<QSqlRecord> stored =
        data.rows(QStringLiteral("select code, sname from コードマスタ where kcode = ? order by code, rowid"),
                  {listName}, &ok);
    if (!ok) {
        // Empty slots must not pass for the list: 登録 would store them over
        // it. The window is left cleared, with nothing to save.
        const Failure readError = data.lastError();
        Clearコード表();
        session_.messages().ShowFailure(listName + QStringLiteral(" を読み込めませんでした。"), readError);
        return;
    }
    // Each stored row goes into the slot of its code; a row under any other
    // code has no slot and is not shown.
    QList<QVariant> texts(kSlots);
    for (const QSqlRecord& r : stored) {
        const int i = slotIndex(r.value(0).toString());
        if (i >= 0) texts[i] = dbv::isNull(r.value(1)) ? QVariant() : r.value(1);
    }
    shownList_ = listName;
    {
        Transaction tx(work);
        if (!tx.started() || !fillSlots(work, kWorkTable, texts) || !tx.commit())
            qCWarning(lcMasters).noquote() << "code list" << listName << "could not be shown:" << work.lastError();
    }
    datコード->refresh();
}

void FrmCode::Clearコード表()
{
    cmb区分->setText(QString());
    shownList_.clear();
    Database& work = session_.WorkDb();
    {
        Transaction tx(work);
        bool ok = tx.started() && work.exec(QStringLiteral("delete from wコードマスタ"));
        for (int i = 1; ok && i <= kSlots - 1; ++i)
            ok = work.exec(QStringLiteral("insert into wコードマスタ (チェック, code) values (0, ?)"), {QString::number(i)});
        if (!ok || !tx.commit()) qCWarning(lcMasters).noquote() << "the code list could not be cleared:" << work.lastError();
    }
    datコード->refresh();
}

std::optional<QList<QVariant>> FrmCode::gridSlots(bool compactTicked)
{
    bool ok = false;
    const QList<QSqlRecord> rows = session_.WorkDb().rows(
        QStringLiteral("select チェック, code, sname from wコードマスタ order by 行番号"), {}, &ok);
    if (!ok) return std::nullopt;
    // By code: the row of slot "03" is slot 03, wherever it stands.
    QList<QVariant> texts(kSlots);
    QList<bool> ticked(kSlots, false);
    for (const QSqlRecord& r : rows) {
        const int i = slotIndex(r.value(1).toString());
        if (i < 0) continue;
        texts[i] = dbv::textOrNull(r.value(2));
        ticked[i] = dbv::toBool(r.value(0));
    }
    if (!compactTicked) return texts;
    // The ticked slots go; the slots after them move up, in order, and the
    // last slots become free.
    QList<QVariant> kept;
    for (int i = 0; i < kSlots; ++i) {
        if (!ticked[i]) kept.append(texts[i]);
    }
    kept.resize(kSlots);
    return kept;
}

void FrmCode::Deleteコードマスタ(const QString& listName)
{
    if (!Gridコードマスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("削除"), QStringLiteral("伝票確認2"),
                                         QStringLiteral("指定されたデータ")))
        return;
    Database& data = session_.DataDb();
    Database& work = session_.WorkDb();
    const QString failure = QStringLiteral("指定されたデータを削除できませんでした。");
    const std::optional<QList<QVariant>> slotTexts = gridSlots(true);
    bool ok = false;
    const bool stored = data.scalar(QStringLiteral("select count(*) from コードマスタ where kcode = ?"), {listName}, &ok).toLongLong() > 0;
    if (!slotTexts || !ok) {
        session_.messages().ShowFailure(failure, slotTexts ? data.lastError() : work.lastError());
        return;
    }

    MasterWrite write;
    // A list that was never stored is compacted on screen only, until 登録 stores it.
    write.databases = stored ? QList<Database*>{&data, &work} : QList<Database*>{&work};
    write.failure = failure;
    RunMasterWrite(session_, write, [&](Failure&) {
        return fillSlots(work, kScratchTable, *slotTexts) && work.exec(QStringLiteral("delete from wコードマスタ")) &&
               work.exec(QStringLiteral("insert into wコードマスタ select * from wコードマスタソート")) &&
               (!stored || storeCodeList(data, listName, *slotTexts));
    });
    datコード->refresh();
    Gridコードマスタ->setFocus();
}

void FrmCode::Entryコード表(const QString& listName)
{
    if (!Gridコードマスタ->commitEdit()) return;
    if (!session_.messages().ShowMessage(QStringLiteral("登録"), QStringLiteral("確認"), listName)) return;
    const QString failure = listName + QStringLiteral(" を登録できませんでした。");
    const std::optional<QList<QVariant>> slotTexts = gridSlots(false);
    if (!slotTexts) {
        session_.messages().ShowFailure(failure, session_.WorkDb().lastError());
        return;
    }
    Database& data = session_.DataDb();
    MasterWrite write;
    write.databases = {&data};
    write.doneCategory = QStringLiteral("登録");
    write.doneText = listName;
    write.failure = failure;
    RunMasterWrite(session_, write, [&](Failure&) { return storeCodeList(data, listName, *slotTexts); });
}

void FrmCode::cmb区分_Click()
{
    // The grid keeps the list it shows while another operation runs.
    if (MasterBusy(session_)) {
        cmb区分->setText(shownList_);
        return;
    }
    Readコード表(cmb区分->text());
}

void FrmCode::cmdクリア_Click()
{
    if (MasterBusy(session_)) return;
    Clearコード表();
}

void FrmCode::cmd行削除_Click()
{
    const QString listName = cmb区分->text();
    if (listName.isEmpty() || MasterBusy(session_)) return;
    Deleteコードマスタ(listName);
}

void FrmCode::cmd登録_Click()
{
    const QString listName = cmb区分->text();
    if (listName.isEmpty() || MasterBusy(session_)) return;
    Entryコード表(listName);
}
