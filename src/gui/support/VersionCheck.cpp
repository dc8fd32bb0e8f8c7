#include "gui/support/VersionCheck.h"

#include "gui/support/ContactConfig.h"

#include <QUrlQuery>

namespace q540 {

QUrl updateCheckUrl(int jezyk)
{
    // The server knows the program by these two values, not by the file version, so they
    // stay fixed from one build to the next.
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("ver_nmb"), QStringLiteral("12"));
    query.addQueryItem(QStringLiteral("prog"), QStringLiteral("D54073"));
    query.addQueryItem(QStringLiteral("lang"),
                       jezyk == 0 ? QStringLiteral("pl") : QStringLiteral("en"));
    QUrl url(contact::kUpdateCheckPage);
    url.setQuery(query);
    return url;
}

QString versionCaption(const QString& fileVersion)
{
    return QStringLiteral("KQ540 v ") + fileVersion;
}

} // namespace q540
