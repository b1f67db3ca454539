#include "app/MessageCatalog.h"

#include "platform/Controls.h"
#include "platform/NumberFormat.h"
#include <QRegularExpression>

namespace {

using Spec = MessageBoxSpec;

Spec yesNo(const QString& title, const QString& text, bool noIsDefault)
{
    Spec s;
    s.title = title;
    s.text = text;
    s.buttons = Spec::Buttons::YesNo;
    s.icon = Spec::Icon::Question;
    s.defaultButton = noIsDefault ? Spec::Default::No : Spec::Default::Yes;
    return s;
}

Spec ok(const QString& title, const QString& text, Spec::Icon icon)
{
    Spec s;
    s.title = title;
    s.text = text;
    s.buttons = Spec::Buttons::Ok;
    s.icon = icon;
    s.defaultButton = Spec::Default::Ok;
    return s;
}

std::optional<Spec> entryBox(const QString& kind, const QString& value)
{
    const QString text = MessageCatalog::ShortValue(value);
    if (kind == u"確認") return yesNo(QStringLiteral("登録の確認"), text + QStringLiteral(" を登録します。よろしいですか"), false);
    if (kind == u"完了") return ok(QStringLiteral("登録完了"), text + QStringLiteral(" を登録しました。"), Spec::Icon::Information);
    if (kind == u"チェック") return ok(QStringLiteral("入力項目のチェック"), QStringLiteral("入力必須項目が空白です。"), Spec::Icon::Information);
    // The text names the stored quotation ("2（乙商店）") that storing would replace.
    if (kind == u"置換確認")
        return yesNo(QStringLiteral("登録の確認"),
                     QStringLiteral("伝票 ") + text + QStringLiteral(" は登録済みです。画面の見積書で置き換えます。よろしいですか"), true);
    return std::nullopt;
}

std::optional<Spec> deleteBox(const QString& kind, const QString& value)
{
    const QString text = MessageCatalog::ShortValue(value);
    const QString title = QStringLiteral("削除の確認");
    if (kind == u"確認") return yesNo(title, QStringLiteral("すべてのデータを削除します。よろしいですか"), true);
    if (kind == u"伝票確認") return yesNo(title, QStringLiteral("伝票 ") + text + QStringLiteral(" を削除します。よろしいですか"), true);
    if (kind == u"伝票確認2") return yesNo(title, text + QStringLiteral(" を削除します。よろしいですか"), true);
    if (kind == u"指定確認") return yesNo(title, QStringLiteral("指定された ") + text + QStringLiteral(" を削除します。よろしいですか"), true);
    if (kind == u"完了") return ok(QStringLiteral("削除の完了"), QStringLiteral("データ ") + text + QStringLiteral(" を削除しました。"), Spec::Icon::Information);
    return std::nullopt;
}

std::optional<Spec> inputBox(const QString& kind, const QString& value)
{
    const QString text = MessageCatalog::ShortValue(value);
    if (kind == u"必須入力なし") return ok(QStringLiteral("入力注意"), text + QStringLiteral("指定されていません。確認してください"), Spec::Icon::Warning);
    if (kind == u"数字のみ") return ok(QStringLiteral("入力注意"), text + QStringLiteral("には数字以外使用できません"), Spec::Icon::Warning);
    return std::nullopt;
}

std::optional<Spec> printBox(const QString& kind, const QString& value)
{
    const QString text = MessageCatalog::ShortValue(value);
    if (kind == u"確認") return yesNo(QStringLiteral("印刷の確認"), text + QStringLiteral("を印刷します。よろしいですか"), true);
    return std::nullopt;
}

std::optional<Spec> generalBox(const QString& kind, const QString& text)
{
    if (kind == u"メッセージ") return ok(QStringLiteral("情報"), text, Spec::Icon::Information);
    if (kind == u"注意") return ok(QStringLiteral("注意"), text, Spec::Icon::Information);
    // The other kinds take a whole sentence; this one the name of what is missing.
    if (kind == u"ファイルなし") return ok(QStringLiteral("ファイルチェック"), MessageCatalog::ShortValue(text) + QStringLiteral("がありません。確認してください。"), Spec::Icon::Information);
    if (kind == u"確認") return yesNo(QStringLiteral("確認"), text + QStringLiteral("、よろしいですか"), false);
    // The text names what was changed and not stored ("見積書").
    if (kind == u"終了確認")
        return yesNo(QStringLiteral("終了の確認"),
                     MessageCatalog::ShortValue(text) + QStringLiteral("の変更が登録されていません。登録せずに終了します。よろしいですか"), true);
    if (kind == u"失敗") return ok(QStringLiteral("エラー"), text, Spec::Icon::Warning);
    return std::nullopt;
}

}  // namespace

std::optional<MessageBoxSpec> MessageCatalog::CatalogueEntry(const QString& category, const QString& kind, const QString& text)
{
    if (category == u"登録") return entryBox(kind, text);
    if (category == u"削除") return deleteBox(kind, text);
    if (category == u"入力") return inputBox(kind, text);
    if (category == u"印刷") return printBox(kind, text);
    if (category == u"その他") return generalBox(kind, text);
    return std::nullopt;
}

MessageCatalog::MessageCatalog(MessagePresenter* presenter) : presenter_(presenter ? presenter : &boxes_) {}

void MessageCatalog::setPresenter(MessagePresenter* presenter)
{
    presenter_ = presenter ? presenter : &boxes_;
}

bool MessageCatalog::present(const std::optional<Spec>& spec) const
{
    if (!spec) return false;
    const MessageAnswer a = presenter_->show(*spec);
    return spec->buttons == Spec::Buttons::YesNo && a == MessageAnswer::Yes;
}

bool MessageCatalog::ShowMessage(const QString& category, const QString& kind, const QString& text) const
{
    return present(CatalogueEntry(category, kind, text));
}

bool MessageCatalog::ShowEntryMessage(const QString& kind, const QString& text) const { return present(entryBox(kind, text)); }
bool MessageCatalog::ShowDeleteMessage(const QString& kind, const QString& text) const { return present(deleteBox(kind, text)); }
bool MessageCatalog::ShowInputWarning(const QString& kind, const QString& text) const { return present(inputBox(kind, text)); }
bool MessageCatalog::ConfirmPrint(const QString& kind, const QString& text) const { return present(printBox(kind, text)); }
bool MessageCatalog::ShowGeneralMessage(const QString& kind, const QString& text) const { return present(generalBox(kind, text)); }

bool MessageCatalog::ShowFailure(const QString& what, const Failure& why) const
{
    QString text = what;
    if (!why.said.isEmpty()) text += QStringLiteral("\n\n") + why.said;
    return ShowWithDetails(QStringLiteral("その他"), QStringLiteral("失敗"), text, why.engine);
}

bool MessageCatalog::ShowWithDetails(const QString& category, const QString& kind, const QString& text,
                                     const QString& details) const
{
    auto spec = CatalogueEntry(category, kind, text);
    if (spec) spec->detail = details;
    return present(spec);
}

void MessageCatalog::ShowRefusedNumber(const QString& field, const QString& typed, Currency min, Currency max) const
{
    // Digits beyond even the widest decimal are still a number, and far too large.
    static const QRegularExpression number(QStringLiteral("^\\s*[-+－＋]?[0-9０-９,，]+([.．][0-9０-９]*)?\\s*$"));
    if (!Decimal::parse(typed) && !number.match(typed).hasMatch()) {
        ShowMessage(QStringLiteral("入力"), QStringLiteral("数字のみ"), field);
        return;
    }
    const auto whole = [](Currency c) { return NumberFormat::format(Currency::fromWhole(c.wholePart()), QStringLiteral("#,##0")); };
    const std::optional<Spec> digitsOnly = inputBox(QStringLiteral("数字のみ"), field);
    Spec s = *digitsOnly;  // the input warning's box, with the range for its text
    s.text = QStringLiteral("%1には %2 から %3 までの数を入力してください").arg(ShortValue(field), whole(min), whole(max));
    presenter_->show(s);
}

QString MessageCatalog::ShortValue(const QString& value)
{
    qsizetype end = 0;
    while (end < value.size() && end < kMaxValueLength && value[end] != u'\r' && value[end] != u'\n') ++end;
    if (end == value.size()) return value;
    if (end > 0 && value[end - 1].isHighSurrogate()) --end;  // never half a character
    return value.left(end) + QStringLiteral("…");
}

void ReportRefusedNumbers(NumberBox* box, const QString& field, const MessageCatalog& messages)
{
    QObject::connect(
        box, &NumberBox::refused, box,
        [box, field, &messages](const QString& typed) {
            messages.ShowRefusedNumber(field, typed, box->minimum(), box->maximum());
        },
        Qt::QueuedConnection);
}
