#pragma once
// The information window: the program's version and how to reach support.
// Its banner opens the deployer's web site in the desktop's browser. Its
// controls are private and carry their own names as objectName.

#include "app/SecondaryWindow.h"

#include <QUrl>
#include <functional>

class QFrame;
class QLabel;

class FrmInfo : public SecondaryWindow {
    Q_OBJECT
public:
    // Opens a URL; empty: QDesktopServices::openUrl.
    using UrlOpener = std::function<bool(const QUrl&)>;
    explicit FrmInfo(UrlOpener urlOpener = {}, QWidget* parent = nullptr);

    // Fills the version line and the support text and shows the support panel.
    void SetDinfo();
    // Opens the deployer's web site (the banner's click).
    void Image2_Click();

    // "Velt 見積書 Pro Ver 2.00 LastUpdate 2005/01/06"
    static QString VersionLine();
    // The support text: groups of lines separated by CR LF, an empty line after each group.
    static QString SupportText();

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    UrlOpener urlOpener_;

    QFrame* imContainer3D1 = nullptr;
    QFrame* CnVersion = nullptr;
    QLabel* lblVersion = nullptr;
    QFrame* CnQuolen = nullptr;
    QLabel* lblquolen1 = nullptr;
    QLabel* Image2 = nullptr;
};
