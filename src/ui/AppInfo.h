#pragma once

#include <QString>

namespace q540 {

// The application title: the caption of every message and of the main window.
inline const QString kApplicationTitle = QStringLiteral("Q540 v7.3");

} // namespace q540
