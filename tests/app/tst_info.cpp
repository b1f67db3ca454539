// The information window: version line, support text, banner.

#include "app/FrmInfo.h"
#include "support/FindControl.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestInfo : public QObject {
    Q_OBJECT
private slots:
    void showsVersionAndSupportWhateverTheSettingsHold();
    void bannerOpensTheDeployersSite();
};

// The window reads nothing stored: the version line is the program's own,
// whatever stamp the settings row holds.
void TestInfo::showsVersionAndSupportWhateverTheSettingsHold()
{
    FrmInfo window;
    FrmInfo* info = &window;
    info->show();
    QCOMPARE(info->objectName(), QStringLiteral("FrmInfo"));
    QCOMPARE(info->windowTitle(), QStringLiteral("情報"));
    QCOMPARE(control<QLabel>(*info, "lblVersion")->text(), QStringLiteral("Velt 見積書 Pro Ver 2.00 LastUpdate 2005/01/06"));
    QVERIFY(control<QFrame>(*info, "CnQuolen")->isVisibleTo(info));

    // Groups separated by CR LF, each followed by an empty line, the two hints last.
    const QString text = FrmInfo::SupportText();
    const QStringList groups = text.split(QStringLiteral("\r\n\r\n"));
    QCOMPARE(groups.size(), 6);
    QVERIFY(groups.last().isEmpty());
    QCOMPARE(groups[1].split(QStringLiteral("\r\n")).size(), 2);  // name, address
    QCOMPARE(groups[2].split(QStringLiteral("\r\n")).size(), 3);  // telephone, fax and mail, web
    QCOMPARE(groups[3], QStringLiteral("質問、サポートはできるだけメール、掲示板をご利用ください。"));
    QCOMPARE(groups[4], QStringLiteral("質問、専用伝票購入、その他は上のバナーをクリックしてください"));
    QCOMPARE(control<QLabel>(*info, "lblquolen1")->text(), QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestInfo::bannerOpensTheDeployersSite()
{
    QList<QUrl> opened;
    FrmInfo info([&](const QUrl& u) {
        opened << u;
        return true;
    });
    info.show();
    QTest::mouseClick(control<QLabel>(info, "Image2"), Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened.first().isValid());
    QVERIFY(opened.first().scheme().startsWith(QStringLiteral("http")));
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
