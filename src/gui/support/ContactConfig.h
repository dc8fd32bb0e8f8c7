#pragma once

#include <QString>

namespace q540::contact {

// Every address that the contact window and the version check send the user to. These are
// placeholders until the real endpoints are known; nothing else in the program names them.
// The web addresses are plain HTTP, as the update-check server expects.
inline const QString kWebSite = QStringLiteral("http://www.example.invalid/");
inline const QString kSupportSitePolish = QStringLiteral("http://wsparcie.example.invalid/");
inline const QString kSupportSiteEnglish = QStringLiteral("http://support.example.invalid/");
inline const QString kCustomerServiceAddress = QStringLiteral("biuro@example.invalid");
inline const QString kExportAddress = QStringLiteral("export@example.invalid");
inline const QString kUpdateCheckPage =
    QStringLiteral("http://www.example.invalid/update/chkupdate.php");

// The subject of every message started from the contact window, so that mail about the
// program is recognised as such whatever the user's language.
inline const QString kMailSubject = QStringLiteral("Dot. programu VEL KOR");

// The postal address, shown to English and German users only.
struct PostalAddress {
    QString name;
    QString street;
    QString town;
    QString telephone;
};

inline const PostalAddress kAddressEnglish{
    QStringLiteral("Example Manufacturer Ltd."), QStringLiteral("1 Example Street"),
    QStringLiteral("00-000 Example Town"), QStringLiteral("Phone: +00 00 000 00 00")};
inline const PostalAddress kAddressGerman{
    QStringLiteral("Example Manufacturer Ltd."), QStringLiteral("1 Example Street"),
    QStringLiteral("00-000 Example Town"), QStringLiteral("Telefon: +00 00 000 00 00")};

} // namespace q540::contact
