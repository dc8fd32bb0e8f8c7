#pragma once

#include <QString>
#include <QUrl>

namespace q540 {

// The update-check page with the query that tells the maker's server which program asks and
// in which language to answer: Polish for jezyk 0, English for every other language.
QUrl updateCheckUrl(int jezyk);

// The caption of the version page: "KQ540 v " and the program file's version, which may be
// empty when the build carries none.
QString versionCaption(const QString& fileVersion);

} // namespace q540
