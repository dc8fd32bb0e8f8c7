#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace q540 {

// Why a whole-file read or a safe save did not happen. NotRegular: the path
// names a pipe, a folder or a device, which the program never opens (a pipe
// would block it); Failed: the system refused, for the reason given.
struct FileFailure {
    enum class Kind { NotRegular, Failed };
    Kind kind;
    QString reason;
};

// The first limit + 1 bytes of a regular file; one byte past the limit is
// enough for a reader to see that a file is too large. Never blocks on a
// pipe: anything but a regular file is refused before it is read.
struct FileRead {
    std::optional<QByteArray> bytes;
    FileFailure failure{FileFailure::Kind::Failed, {}};
};
FileRead readWholeFile(const QString& path, qsizetype limit);

// Who may read a file the program saves. Shared: as the umask says, for a
// file the user names (a directory file, an export). OwnerOnly: mode 0600
// from the moment the file exists, for what the program keeps on its own
// (history copies, traces, support reports, the settings file): they hold
// residents' names and the installer password, which no other account of
// the computer may read.
enum class FileAccess { Shared, OwnerOnly };

// WhenFolderIsReadOnly writes an existing writable file in place when its
// folder takes no temporary file, as profile routines do for a settings file.
enum class DirectWrite { Never, WhenFolderIsReadOnly };

struct SaveOptions {
    FileAccess access = FileAccess::Shared;
    DirectWrite direct = DirectWrite::Never;
};

// Replaces path with bytes through a temporary file in the same folder. Every
// byte is written unbuffered and checked, and the file on disk is checked
// afterwards, so a full disk or a size limit leaves the old file byte for byte
// as it was. Nothing when saved; otherwise why not.
std::optional<FileFailure> saveFileSafely(const QString& path, const QByteArray& bytes,
                                          SaveOptions options = {});

// Whether saveFileSafely could create path now: not another kind of file, and
// a folder that takes a new file. Checked before a long transfer, so nothing
// is read from the module for a file that cannot be written.
std::optional<FileFailure> checkCanSave(const QString& path);

} // namespace q540
