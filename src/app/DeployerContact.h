#pragma once
// ============================================================================
//  DEPLOYER'S CONTACT DATA — edit this file when you deploy the program.
//
//  The information window (FrmInfo) shows these lines as its support text,
//  and its banner opens BannerUrl in the desktop's web browser. The values
//  below are neutral placeholders: replace every one of them with your own
//  name, address, telephone and fax numbers, mail address and web site.
// ============================================================================

#include <QString>

namespace DeployerContact {

// Shown first: customers who bought through a dealer are served by that dealer.
inline const QString DealerNotice =
    QStringLiteral("販売店経由でお求めのお客様は、専用伝票・サポートともお求めの販売店へお問い合わせください。");

inline const QString DeveloperName = QStringLiteral("開発元名（ここに記入）");
inline const QString PostalAddress = QStringLiteral("〒000-0000 所在地（ここに記入）");

inline const QString SupportPhone = QStringLiteral("緊急サポート TEL 000-000-0000（平日 00:00～00:00）");
inline const QString FaxAndMail = QStringLiteral("FAX 000-000-0000　E-mail support@example.invalid");
inline const QString WebAddress = QStringLiteral("https://www.example.invalid/");

// The page the banner opens.
inline const QString BannerUrl = QStringLiteral("https://www.example.invalid/");
// The banner's caption (in place of a picture).
inline const QString BannerCaption = QStringLiteral("サポート・専用伝票のご案内");

}  // namespace DeployerContact
