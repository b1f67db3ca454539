#include "app/FrmInfo.h"

#include "app/DeployerContact.h"
#include "app/Maintenance.h"
#include "app/UiBuild.h"

#include <QDesktopServices>
#include <QMouseEvent>

namespace {

QFont uiGothic(QFont f)
{
    f.setFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    return f;
}

}  // namespace

FrmInfo::FrmInfo(UrlOpener urlOpener, QWidget* parent)
    : SecondaryWindow(QStringLiteral("FrmInfo"), QStringLiteral("情報"), 7200, 5400, parent),
      urlOpener_(std::move(urlOpener))
{
    using namespace ui;
    imContainer3D1 = panel(this, QStringLiteral("imContainer3D1"), 60, 60, 7080, 5280);

    Image2 = make<QLabel>(imContainer3D1, QStringLiteral("Image2"), 120, 120, 6840, 720);
    Image2->setText(DeployerContact::BannerCaption);
    Image2->setAlignment(Qt::AlignCenter);
    Image2->setAutoFillBackground(true);
    Image2->setStyleSheet(QStringLiteral("background:#1f4e96; color:white; font-weight:bold;"));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(DeployerContact::BannerUrl);
    Image2->installEventFilter(this);

    CnVersion = panel(imContainer3D1, QStringLiteral("CnVersion"), 120, 960, 6840, 450);
    lblVersion = make<QLabel>(CnVersion, QStringLiteral("lblVersion"), 120, 60, 6600, 330);
    lblVersion->setFont(uiGothic(lblVersion->font()));

    CnQuolen = panel(imContainer3D1, QStringLiteral("CnQuolen"), 120, 1530, 6840, 3630);
    CnQuolen->hide();
    lblquolen1 = make<QLabel>(CnQuolen, QStringLiteral("lblquolen1"), 120, 60, 6600, 3510);
    lblquolen1->setFont(uiGothic(lblquolen1->font()));
    lblquolen1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblquolen1->setWordWrap(true);
    lblquolen1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    SetDinfo();
}

QString FrmInfo::VersionLine()
{
    return QStringLiteral("Velt 見積書 Pro Ver ") + SchemaStamp::Version + QStringLiteral(" LastUpdate ") +
           SchemaStamp::LastUpdate;
}

QString FrmInfo::SupportText()
{
    using namespace DeployerContact;
    const QString nl = QStringLiteral("\r\n");
    const QList<QStringList> groups{
        {DealerNotice},
        {DeveloperName, PostalAddress},
        {SupportPhone, FaxAndMail, WebAddress},
        {QStringLiteral("質問、サポートはできるだけメール、掲示板をご利用ください。")},
        {QStringLiteral("質問、専用伝票購入、その他は上のバナーをクリックしてください")},
    };
    QString text;
    for (const QStringList& g : groups) text += g.join(nl) + nl + nl;
    return text;
}

void FrmInfo::SetDinfo()
{
    lblVersion->setText(VersionLine());
    CnQuolen->setVisible(true);
    // CR LF becomes one line break on the label.
    lblquolen1->setText(SupportText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void FrmInfo::Image2_Click()
{
    const QUrl url(DeployerContact::BannerUrl);
    // The result is not examined: a browser that does not start is not reported.
    if (urlOpener_)
        urlOpener_(url);
    else
        QDesktopServices::openUrl(url);
}

bool FrmInfo::eventFilter(QObject* o, QEvent* e)
{
    if (o == Image2 && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
        Image2_Click();
        return true;
    }
    return SecondaryWindow::eventFilter(o, e);
}
