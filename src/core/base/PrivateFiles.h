#pragma once

#include <QFile>
#include <QString>

#include <optional>

namespace q540 {

// What the program keeps on its own (history copies, traces, support
// reports, the settings file) holds residents' names and the installer
// password, which no other account of the computer may read. These two are
// the only places that make such a file or folder private.

// Opens file (its name set) in mode so that only its owner can read it: a
// file it creates is created 0600, an existing one is made 0600 before
// anything is written, and the mode the system then holds is checked. When
// the mode is not as asked the file is closed again. Nothing when open;
// otherwise why not.
std::optional<QString> openOwnerOnly(QFile& file, QIODevice::OpenMode mode);

// Creates folder with every missing level above it, each 0700 from its
// creation and checked; levels that exist already (the user's ~/.local) are
// left as they are. Nothing when the folder is there; otherwise why not.
std::optional<QString> makePrivateFolder(const QString& folder);

} // namespace q540
