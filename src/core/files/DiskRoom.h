#pragma once

#include "files/SafeFile.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace q540 {

// Whether each of paths can take a new file of up to bytes now: the nearest
// folder of each that exists is a folder this user may write in, and every
// file system has room for all the paths on it together. Checked before a
// long read from the module, so that nothing is read for a file that could not
// be kept afterwards. Nothing when there is room; otherwise the first path
// that has none and why.
struct RoomFailure {
    QString path;
    FileFailure failure;
};
std::optional<RoomFailure> checkRoomFor(const QStringList& paths, qint64 bytes);

} // namespace q540
