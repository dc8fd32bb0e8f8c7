#include "files/DiskRoom.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>
#include <map>

namespace q540 {

namespace {

// The folder a new file at path would be made in, or the nearest of its
// parents that exists: folders still missing are made by the save.
QFileInfo nearestFolder(const QString& path)
{
    QFileInfo folder(QFileInfo(path).absolutePath());
    while (!folder.exists() && !folder.isRoot())
        folder = QFileInfo(folder.absolutePath());
    return folder;
}

FileFailure failedWith(int error, const QString& detail = {})
{
    QString reason = qt_error_string(error);
    if (!detail.isEmpty())
        reason += QStringLiteral(" (%1)").arg(detail);
    return {FileFailure::Kind::Failed, reason};
}

QString kilobytes(qint64 bytes)
{
    return QStringLiteral("%1 kB").arg((bytes + 1023) / 1024);
}

} // namespace

std::optional<RoomFailure> checkRoomFor(const QStringList& paths, qint64 bytes)
{
    std::map<QString, qint64> needed; // by file system, so that paths on one add up
    for (const QString& path : paths) {
        const QFileInfo folder = nearestFolder(path);
        if (!folder.isDir())
            return RoomFailure{path, failedWith(ENOTDIR)};
        if (!folder.isWritable())
            return RoomFailure{path, failedWith(EACCES)};
        const QStorageInfo storage(folder.absoluteFilePath());
        if (!storage.isValid())
            return RoomFailure{path, failedWith(ENOENT)};
        const qint64 total = needed[storage.rootPath()] += bytes;
        if (storage.bytesAvailable() < total)
            return RoomFailure{
                path, failedWith(ENOSPC,
                                 QStringLiteral("%1 free, %2 needed")
                                     .arg(kilobytes(storage.bytesAvailable()), kilobytes(total)))};
    }
    return std::nullopt;
}

} // namespace q540
