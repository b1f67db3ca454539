#include "conversion/DataConversion.h"

#include "conversion/QuotationCopy.h"
#include "conversion/TableCopy.h"

#include <QRegularExpression>
#include <QSet>

using namespace tablecopy;

namespace {

const QString k顧客マスタ = QStringLiteral("顧客マスタ");
const QString k商品マスタ = QStringLiteral("商品マスタ");
const QString kコードマスタ = QStringLiteral("コードマスタ");
const QString k見積書ヘッダ = QStringLiteral("見積書ヘッダ");
const QString k見積書 = QStringLiteral("見積書");
const QString k自社情報 = QStringLiteral("自社情報");

const CopyRule& headerRule()
{
    static const CopyRule rule{
        k見積書ヘッダ,
        {QStringLiteral("伝票番号")},
        {field(QStringLiteral("伝票番号"), ColumnKind::Integer), field(QStringLiteral("顧客名")),
         field(QStringLiteral("日付"), ColumnKind::Date), field(QStringLiteral("消費税"), ColumnKind::Money),
         field(QStringLiteral("税抜計"), ColumnKind::Money), field(QStringLiteral("合計"), ColumnKind::Money),
         field(QStringLiteral("見積金額"), ColumnKind::Money), field(QStringLiteral("敬称")),
         field(QStringLiteral("済"), ColumnKind::Integer), field(QStringLiteral("顧客情報")), field(QStringLiteral("件名")),
         field(QStringLiteral("受渡場所")), field(QStringLiteral("支払条件")), field(QStringLiteral("有効期限")),
         field(QStringLiteral("納期")), field(QStringLiteral("印鑑1")), field(QStringLiteral("印鑑2")),
         field(QStringLiteral("印鑑3")), field(QStringLiteral("印鑑4")), field(QStringLiteral("メモ"))},
        // The header's key is the number; a Null number is an empty key.
        {QStringLiteral("伝票番号")},
        {},
        // Who and when the quotation is.
        {QStringLiteral("顧客名"), QStringLiteral("日付")}};
    return rule;
}

const CopyRule& lineRule()
{
    static const CopyRule rule{
        k見積書,
        // Lines are read by their whole-number keys first: only lines with
        // the same key meet (a later one updates the row an earlier one
        // wrote), and among lines of the same number, kind and line number
        // this order is that of customer, date and the file, as when the
        // customer's name led; the numbers order without comparing texts.
        {QStringLiteral("伝票番号"), QStringLiteral("伝票区分"), QStringLiteral("行番号"), QStringLiteral("顧客名"),
         QStringLiteral("日付")},
        {field(QStringLiteral("顧客名")), field(QStringLiteral("日付"), ColumnKind::Date),
         field(QStringLiteral("伝票番号"), ColumnKind::Integer), field(QStringLiteral("伝票区分"), ColumnKind::Integer),
         field(QStringLiteral("行番号"), ColumnKind::Integer), field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
         field(QStringLiteral("入数")), field(QStringLiteral("単位")), field(QStringLiteral("数量"), ColumnKind::Money),
         field(QStringLiteral("単価"), ColumnKind::Money), field(QStringLiteral("金額"), ColumnKind::Money),
         field(QStringLiteral("非課税"), ColumnKind::Bool), field(QStringLiteral("ふりがな")),
         field(QStringLiteral("小計"), ColumnKind::Bool), fixedNull(QStringLiteral("備考"))},
        {QStringLiteral("顧客名"), QStringLiteral("日付"), QStringLiteral("伝票番号"), QStringLiteral("伝票区分"),
         QStringLiteral("行番号")},
        // A line's Null date, kind or line number is matched to a Null one:
        // only a Null or empty customer or number is an empty key.
        {QStringLiteral("日付"), QStringLiteral("伝票区分"), QStringLiteral("行番号")}};
    return rule;
}

// A code as the numbered slots have it: "01".."99".
bool isSlotCode(const QString& code)
{
    static const QRegularExpression re(QStringLiteral("^(0[1-9]|[1-9][0-9])$"));
    return re.match(code).hasMatch();
}

}  // namespace

const QStringList DataConversion::Tables{k自社情報, k顧客マスタ, k商品マスタ, kコードマスタ, k見積書ヘッダ, k見積書};

DataConversion::DataConversion(LinkFile& Dbs, Database& data) : Dbs_(Dbs), data_(data) {}

TableOutcome DataConversion::CnvJisyaInfo()
{
    TableOutcome out{k自社情報};
    if (!oldColumns(Dbs_, k自社情報, out)) return out;
    const auto old = Dbs_.rows(k自社情報);
    if (!old) {
        fail(out, Dbs_.failure());
        return out;
    }
    out.read = int(old->rows.size());
    if (old->rows.isEmpty()) return out;  // the current settings row stays as it is
    const LinkRow& src = old->rows.first();  // only the first row takes part

    struct Setting {
        const char16_t* column;
        ColumnKind kind;
        std::optional<QVariant> fixed;
    };
    const QVariant yes = dbv::fromBool(true);
    const QList<Setting> settings{
        {u"自社名", ColumnKind::Text, {}},          {u"自社情報", ColumnKind::Text, {}},
        {u"年号", ColumnKind::Text, {}},            {u"税区分", ColumnKind::Text, {}},
        {u"税端数", ColumnKind::Text, {}},          {u"行端数", ColumnKind::Text, {}},
        {u"小数", ColumnKind::Text, QVariant(QStringLiteral("しない"))},
        {u"最大見積書番号", ColumnKind::Integer, {}}, {u"税計算", ColumnKind::Bool, {}},
        {u"印刷用紙", ColumnKind::Text, {}},        {u"商品リンクアプリ", ColumnKind::Text, {}},
        {u"商品リンクパス", ColumnKind::Text, {}},  {u"顧客リンクアプリ", ColumnKind::Text, {}},
        {u"顧客リンクパス", ColumnKind::Text, {}},  {u"郵便番号辞書パス", ColumnKind::Text, {}},
        {u"YubinDataPath", ColumnKind::Text, {}},   {u"YubinLocalEria", ColumnKind::Text, {}},
        {u"YubinLocalEriaSw", ColumnKind::Integer, {}}, {u"商品表示順", ColumnKind::Text, {}},
        {u"入数列タイトル", ColumnKind::Text, {}},  {u"商品登録", ColumnKind::Bool, yes},
        {u"商品区分登録", ColumnKind::Bool, yes},  {u"単位登録", ColumnKind::Bool, yes},
        {u"入数登録", ColumnKind::Bool, yes},      {u"支払条件登録", ColumnKind::Bool, yes},
        {u"有効期限登録", ColumnKind::Bool, yes},  {u"受渡場所登録", ColumnKind::Bool, yes},
        {u"納期登録", ColumnKind::Bool, yes},
    };

    Transaction tx(data_);
    if (!tx.started()) {
        fail(out, data_.lastError());
        return out;
    }
    bool ok = false;
    const auto current = data_.firstRow(QStringLiteral("select rowid, 最大見積書番号 from 自社情報 order by rowid limit 1"), {}, &ok);
    if (!ok) {
        fail(out, data_.lastError());
        return out;
    }

    Fields values;
    for (const Setting& s : settings) {
        const QString column = QString::fromUtf16(s.column);
        if (s.fixed) {
            values.append({column, *s.fixed});
            continue;
        }
        if (!src.has(column)) continue;  // a setting the older file lacks keeps its value
        const QVariant source = src.value(column);
        auto v = ColumnValue::stored(source, s.kind);
        if (!v) {
            // A setting the current column refuses keeps its value, or its default in a new row.
            logRefused(k自社情報, column, source);
            ++out.refused;
            continue;
        }
        if (column == u"最大見積書番号" && current) {
            // Never lower the counter: a lower one would hand out numbers already stored.
            const QVariant now = current->value(1);
            bool isNumber = false;
            const qint64 n = now.toLongLong(&isNumber);
            if (!dbv::isNull(now) && isNumber && (dbv::isNull(*v) || v->toLongLong() < n)) v = QVariant(n);
        }
        values.append({column, *v});
    }

    bool written = false;
    if (current) {
        QStringList sets;
        QVariantList binds;
        for (const auto& [c, v] : values) {
            sets << Database::quoteIdent(c) + QStringLiteral(" = ?");
            binds << v;
        }
        binds << current->value(0);
        written = data_.exec(QStringLiteral("update 自社情報 set %1 where rowid = ?").arg(sets.join(QStringLiteral(", "))), binds);
    } else {
        written = data_.insert(k自社情報, values);
    }
    if (!written || !tx.commit()) {
        fail(out, data_.lastError());
        return out;
    }
    out.copied = 1;
    return out;
}

TableOutcome DataConversion::CnvKokyaku()
{
    static const CopyRule rule{k顧客マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("顧客名")), field(QStringLiteral("顧客情報")),
                                field(QStringLiteral("ふりがな")), field(QStringLiteral("敬称"))},
                               {QStringLiteral("顧客名")}};
    return copyTable(data_, Dbs_, rule);
}

TableOutcome DataConversion::CnvSyohin()
{
    static const CopyRule rule{k商品マスタ,
                               {QStringLiteral("ふりがな")},
                               {field(QStringLiteral("品名")), fixedNull(QStringLiteral("商品区分")),
                                field(QStringLiteral("入数")), field(QStringLiteral("単位")),
                                field(QStringLiteral("単価"), ColumnKind::Money), field(QStringLiteral("非課税"), ColumnKind::Bool),
                                field(QStringLiteral("ふりがな"))},
                               {QStringLiteral("品名")}};
    return copyTable(data_, Dbs_, rule);
}

TableOutcome DataConversion::CnvCode()
{
    static const CopyRule rule{kコードマスタ,
                               {QStringLiteral("kcode"), QStringLiteral("code")},
                               // An empty name is a free slot, which the code lists mark with Null.
                               {field(QStringLiteral("kcode")), field(QStringLiteral("code")),
                                {QStringLiteral("sname"), ColumnKind::Text, false, true}},
                               {QStringLiteral("kcode"), QStringLiteral("code")}};
    std::optional<QSet<QString>> kinds;  // kinds that have their slots, case-folded
    Statement slot(data_, QStringLiteral("insert into コードマスタ (kcode, code, sname) values (?, ?, null)"));
    const RowCheck check = [&](const RowValues& row, KeyIndex& keys, Failure& error) {
        const Slots& values = row.values;
        if (!isSlotCode(values[1].toString())) return Verdict::BadCode;
        if (!kinds) {
            auto q = data_.query(QStringLiteral("select distinct kcode from コードマスタ where kcode is not null"));
            if (!q) {
                error = data_.lastError();
                return Verdict::Fail;
            }
            kinds.emplace();
            while (q->next()) kinds->insert(q->value(0).toString().toCaseFolded());
        }
        const QString kcode = values[0].toString();
        if (kinds->contains(kcode.toCaseFolded())) return Verdict::Copy;
        // A kind the current file lacks gets its 99 free slots, as every kind has.
        Slots free(3);
        free[0].setText(kcode);
        for (int i = 1; i <= 99; ++i) {
            free[1].setText(QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')));
            if (!slot.run({free[0].text(), free[1].text()})) {
                error = slot.error();
                return Verdict::Fail;
            }
            keys.added(free, slot.query().lastInsertId().toLongLong());
        }
        kinds->insert(kcode.toCaseFolded());
        return Verdict::Copy;
    };
    return copyTable(data_, Dbs_, rule, check);
}

void DataConversion::copyQuotations()
{
    auto copied = CopyQuotations(Dbs_, data_, headerRule(), lineRule());
    quotations_.emplace(std::move(copied.headers), std::move(copied.lines));
}

TableOutcome DataConversion::CnvMitumoriHeader()
{
    if (!quotations_) copyQuotations();
    return quotations_->first;
}

TableOutcome DataConversion::CnvMitumori()
{
    if (!quotations_) copyQuotations();
    return quotations_->second;
}
