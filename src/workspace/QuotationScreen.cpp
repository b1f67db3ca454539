// The quotation screen: resetting the header and the 100 detail lines.

#include "Velt.h"
#include "WorkTableModel.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>

Q_LOGGING_CATEGORY(lcQuotation, "velt.quotation")

namespace {
// w明細 always holds this many lines, numbered 1 to kLineCount.
constexpr int kLineCount = 100;
}  // namespace

void Velt::connectQuotationScreen()
{
    connect(cmdクリア, &QPushButton::clicked, this, &Velt::cmdクリア_Click);
}

void Velt::Clear明細ワーク()
{
    // All or nothing: the table never ends up with fewer than the 100 lines.
    Database& db = ModVelt::WorkDb;
    {
        Transaction tx(db);
        bool ok = tx.started() && db.exec(QStringLiteral("delete from w明細"));
        for (int i = 0; ok && i < kLineCount; ++i)
            ok = db.exec(QStringLiteral("insert into w明細 (行番号, 非課税, 品名, 単価, 数量, 金額, 小計) "
                                        "values (?, 0, null, null, null, null, 0)"),
                         {i + 1});
        if (!ok || !tx.commit()) qCWarning(lcQuotation) << "detail lines could not be rebuilt:" << db.lastError();
    }
    if (wkDat) wkDat->refresh();
}

void Velt::Clear見積書(bool all)
{
    cmb敬称->setItems({QStringLiteral("様"), QStringLiteral("御中"), QStringLiteral("殿")});
    cmb敬称->setText(QStringLiteral("様"));

    cmb用紙選択->setItems({QStringLiteral("A4白紙"), QStringLiteral("B5白紙"), QStringLiteral("Q-310")});
    cmb用紙選択->setText(ModVelt::設定情報.印刷用紙);

    num見積金額->setNull();
    num税抜計->setNull();
    num消費税->setNull();
    num合計->setNull();

    cmb顧客名->setText(QString());
    txt件名->clear();
    cmb有効期限->setText(QString());
    cmb納期->setText(QString());
    cmb受渡場所->setText(QString());
    cmb支払条件->setText(QString());
    for (QLineEdit* seal : txt印鑑) seal->clear();
    txtメモ->setText(QString());
    txt顧客情報->setText(QString());

    const bool tax = ModVelt::設定情報.税計算;
    for (QWidget* w : {static_cast<QWidget*>(Lbl消費税), static_cast<QWidget*>(lbl税抜計),
                       static_cast<QWidget*>(num税抜計), static_cast<QWidget*>(num消費税)})
        w->setEnabled(tax);

    dt日付->setDateText(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));

    lbl自社名->setText(ModVelt::設定情報.自社名);
    lbl自社情報->setText(MultiLineEdit::fromStored(ModVelt::設定情報.自社情報));

    Clear明細ワーク();

    if (all) {
        SetDD品名();
        Clear履歴();
        Readコード表(QStringLiteral("すべて"));
        AddCmb顧客名();
        txtNo->setText(Proc管理(QStringLiteral("最大見積書番号"), QStringLiteral("Get"), 0).toString());
    }

    // The seal titles shown on the settings tab at this moment, stored or not.
    for (size_t i = 0; i < txt印鑑.size(); ++i) txt印鑑[i]->setText(txt印鑑タイトル[i]->text());
}

void Velt::AddCmb顧客名()
{
    bool ok = false;
    const QList<QSqlRecord> rows =
        ModVelt::DataDb.rows(QStringLiteral("select 顧客名 from 顧客マスタ order by ふりがな"), {}, &ok);
    if (!ok) qCWarning(lcQuotation) << "customers could not be read:" << ModVelt::DataDb.lastError();
    // No customer at all: both lists stay as they were.
    if (rows.isEmpty()) return;
    QStringList names;
    names.reserve(rows.size());
    for (const QSqlRecord& r : rows)
        if (!dbv::isNull(r.value(0))) names.append(r.value(0).toString());
    cmb顧客名->setItems(names);
    cmb履歴顧客名->setItems(names);
}

void Velt::cmdクリア_Click()
{
    Clear見積書(true);
}
