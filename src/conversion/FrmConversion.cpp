#include "conversion/FrmConversion.h"

#include "app/MessageCatalog.h"
#include "app/Session.h"
#include "app/UiBuild.h"
#include "conversion/DataConversion.h"
#include "platform/LinkFile.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

QFont gothic(const QWidget* w, double points)
{
    QFont f = w->font();
    f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSizeF(points);
    f.setBold(false);
    return f;
}

const QString kOldFile = QStringLiteral("VeltData.mdb");

// The label's text at its designed size, or smaller where the substituted
// font is wider than the Windows font the size was designed for and the text
// would be cut off.
void fitText(QLabel* label, const QString& text, double points)
{
    QFont f = label->font();
    const QRect box = label->contentsRect();
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    for (f.setPointSizeF(points); f.pointSizeF() > 8.0; f.setPointSizeF(f.pointSizeF() - 0.5)) {
        const QRect need = QFontMetrics(f).boundingRect(box, flags, text);
        if (need.width() <= box.width() && need.height() <= box.height()) break;
    }
    label->setFont(f);
    label->setText(text);
}

}  // namespace

FrmConversion::FrmConversion(Session& session, QWidget* parent)
    : SecondaryWindow(QStringLiteral("Frmデータ変換"), QStringLiteral("データ変換"), 7305, 3510, parent), session_(session)
{
    using namespace ui;
    setFont(gothic(this, font().pointSizeF()));

    imContainer3D1 = panel(this, QStringLiteral("imContainer3D1"), 0, 0, 7275, 3495);

    imContainer3D2 = panel(imContainer3D1, QStringLiteral("imContainer3D2"), 1380, 180, 4155, 555);
    QPalette pale = imContainer3D2->palette();
    pale.setColor(QPalette::Window, QColor(252, 252, 194));
    imContainer3D2->setPalette(pale);

    Label1 = make<QLabel>(imContainer3D2, QStringLiteral("Label1"), 180, 180, 3855, 255);
    Label1->setFont(gothic(Label1, 12));
    fitText(Label1, QStringLiteral("データ変換  Access97 →Access2000"), 12);
    Label1->setAutoFillBackground(true);
    Label1->setPalette(pale);

    Lbl説明 = make<QLabel>(imContainer3D1, QStringLiteral("Lbl説明"), 360, 840, 6675, 1455);
    Lbl説明->setFont(gothic(Lbl説明, 12));
    Lbl説明->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Lbl説明->setWordWrap(true);
    Lbl説明->setAutoFillBackground(true);
    QPalette white = Lbl説明->palette();
    white.setColor(QPalette::Window, Qt::white);
    Lbl説明->setPalette(white);

    cmd実行 = button(imContainer3D1, QStringLiteral("cmd実行"), QStringLiteral("実　行"), 4260, 2340, 1035, 945);
    cmd実行->setFont(gothic(cmd実行, 11.25));
    cmd閉じる = button(imContainer3D1, QStringLiteral("cmd閉じる"), QStringLiteral("閉じる"), 6180, 2340, 795, 945,
                       QStringLiteral("データ変換フォームを閉じます。"));
    cmd閉じる->setFont(gothic(cmd閉じる, 11.25));
    connect(cmd実行, &QPushButton::clicked, this, &FrmConversion::cmd実行_Click);
    connect(cmd閉じる, &QPushButton::clicked, this, &FrmConversion::cmd閉じる_Click);

    // The load: the explanation (CR LF shows as a line break).
    fitText(Lbl説明, ExplanationText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")), 12);

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) move(screen->availableGeometry().center() - rect().center());
}

QString FrmConversion::ExplanationText()
{
    return QStringList{
        QStringLiteral("アクセス97からアクセス2000へのデータ変換を行います。"),
        QStringLiteral("旧形式のアクセス97のデータはアクセス2000と同じデータフォルダに置いてください。"),
        QStringLiteral("　Velt Ver 1.20より以前から使用している場合は「実行」ボタンを押してデータ変換を行ってください。"),
        QStringLiteral("　Velt を新規で使用する場合はデータ変換の必要はありません。"),
    }.join(QStringLiteral("\r\n"));
}

QString FrmConversion::OldDataPath() const
{
    // A file copied from a Windows medium may carry its name in other letter
    // cases ("VELTDATA.MDB"): Windows found it all the same.
    const QString folder = session_.DataFolder();
    if (QFileInfo(folder + kOldFile).isFile()) return folder + kOldFile;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& name : names)
        if (name.compare(kOldFile, Qt::CaseInsensitive) == 0) return folder + name;
    return folder + kOldFile;
}

void FrmConversion::cmd実行_Click()
{
    ExecChg97to2000();
}

void FrmConversion::cmd閉じる_Click()
{
    close();
}

void FrmConversion::closeEvent(QCloseEvent* e)
{
    // A run holds the older file and the data database's transaction: it ends first.
    if (running_) {
        e->ignore();
        return;
    }
    SecondaryWindow::closeEvent(e);
}

void FrmConversion::ExecChg97to2000()
{
    if (running_ || session_.operationRunning()) return;
    MessageCatalog& messages = session_.messages();
    const QString path = OldDataPath();
    if (!QFileInfo(path).isFile()) {
        messages.ShowMessage(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                             QStringLiteral("Access97のデータは見つかりませんでした。"));
        return;
    }

    if (runConversion(path)) emit dataConverted();
}

bool FrmConversion::runConversion(const QString& path)
{
    MessageCatalog& messages = session_.messages();
    // From here to the end no click reaches the window or any other: both
    // buttons are disabled and only paint and other non-input events run.
    struct RunGuard {
        FrmConversion& w;
        explicit RunGuard(FrmConversion& window) : w(window)
        {
            w.running_ = true;
            w.session_.setOperationRunning(true);
            w.cmd実行->setEnabled(false);
            w.cmd閉じる->setEnabled(false);
        }
        ~RunGuard()
        {
            w.running_ = false;
            w.session_.setOperationRunning(false);
            w.cmd実行->setEnabled(true);
            w.cmd閉じる->setEnabled(true);
        }
    } guard(*this);

    LinkFile Dbs;
    const bool opened = Dbs.open(path);
    const bool anyTable = opened && std::any_of(DataConversion::Tables.cbegin(), DataConversion::Tables.cend(),
                                                [&](const QString& t) { return Dbs.hasTable(t); });
    if (!anyTable) {
        messages.ShowFailure(QStringLiteral("Access97のデータ（%1）を読み込めませんでした。データは変更していません。")
                                 .arg(QFileInfo(path).fileName()),
                             opened ? Failure(QStringLiteral("変換するテーブルがありません。")) : Dbs.failure());
        return false;
    }

    struct Step {
        QString text;
        TableOutcome (DataConversion::*copy)();
    };
    const QList<Step> steps{
        {QStringLiteral("自社情報を変換しています････"), &DataConversion::CnvJisyaInfo},
        {QStringLiteral("顧客情報を変換しています････"), &DataConversion::CnvKokyaku},
        {QStringLiteral("商品情報を変換しています････"), &DataConversion::CnvSyohin},
        {QStringLiteral("コード表を変換しています････"), &DataConversion::CnvCode},
        {QStringLiteral("見積書をコンバートしています････"), &DataConversion::CnvMitumoriHeader},
        {QStringLiteral("見積書をコンバートしています････"), &DataConversion::CnvMitumori},
    };
    QList<TableOutcome> outcomes;
    {
        // The older rows it reads are let go before the message.
        DataConversion conversion(Dbs, session_.DataDb());
        for (const Step& step : steps) {
            fitText(Lbl説明, step.text, 12);
            emit progressShown(step.text);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            outcomes << (conversion.*step.copy)();
        }
    }
    Dbs.close();

    // The outcome is shown whole; the engine's own words of a table that
    // failed go to the box's details, each under its table.
    QStringList engine;
    for (const TableOutcome& o : outcomes)
        if (!o.failure.engine.isEmpty()) engine << o.table + QStringLiteral(": ") + o.failure.engine;
    messages.ShowWithDetails(QStringLiteral("その他"), QStringLiteral("メッセージ"), ConversionMessage(outcomes),
                             engine.join(QLatin1Char('\n')));
    Lbl説明->setText(QString());
    return std::any_of(outcomes.cbegin(), outcomes.cend(), [](const TableOutcome& o) { return o.copied > 0; });
}
