#include "files/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace q540 {

namespace {

FileFailure failed(const QString& reason)
{
    return {FileFailure::Kind::Failed, reason};
}

const FileFailure kNotRegular{FileFailure::Kind::NotRegular, QStringLiteral("not a regular file")};

// An existing path that is not a regular file (after following links).
bool isOtherKind(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile();
}

// Opens path for reading without ever blocking: with O_NONBLOCK a pipe opens at
// once, and the descriptor is checked before anything is read from it, so a
// pipe put in place after a check by name is refused too.
std::optional<FileFailure> openRegular(QFile& file, const QString& path)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return failed(qt_error_string(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return kNotRegular;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(file.errorString());
    }
    return std::nullopt;
#else
    if (isOtherKind(path))
        return kNotRegular;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(file.errorString());
    return std::nullopt;
#endif
}

} // namespace

FileRead readWholeFile(const QString& path, qsizetype limit)
{
    QFile file;
    if (const std::optional<FileFailure> failure = openRegular(file, path))
        return {std::nullopt, *failure};
    QByteArray bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, failed(file.errorString())};
    return {std::move(bytes), {}};
}

std::optional<FileFailure> saveFileSafely(const QString& path, const QByteArray& bytes,
                                          DirectWrite direct)
{
    if (isOtherKind(path))
        return kNotRegular;
    // Unbuffered, so that a write the system cuts short shows here and not in
    // a flush that commit() would not report.
    QSaveFile file(path);
    file.setDirectWriteFallback(direct == DirectWrite::WhenFolderIsReadOnly);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    // The temporary file's size as the system has it, not Qt's count of bytes.
    if (file.write(bytes) != bytes.size() || file.size() != bytes.size()) {
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QStringLiteral("the file was not written whole");
        file.cancelWriting();
        return failed(reason);
    }
    if (!file.commit())
        return failed(file.errorString());
    return std::nullopt;
}

std::optional<FileFailure> checkCanSave(const QString& path)
{
    if (isOtherKind(path))
        return kNotRegular;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    file.cancelWriting();
    return std::nullopt;
}

} // namespace q540
