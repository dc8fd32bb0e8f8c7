#include "files/SafeFile.h"

#include "base/PrivateFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringList>

#include <filesystem>

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

#ifdef Q_OS_UNIX
bool syncToDisk(QFile& file)
{
    return ::fsync(file.handle()) == 0;
}
#else
bool syncToDisk(QFile& file)
{
    return file.flush();
}
#endif

// Writes bytes to a file opened unbuffered, so that a write the system cuts
// short shows here, and checks the file's size as the system has it, not
// Qt's count of bytes.
std::optional<FileFailure> writeWhole(QFileDevice& file, const QByteArray& bytes)
{
    if (file.write(bytes) == bytes.size() && file.size() == bytes.size())
        return std::nullopt;
    return failed(file.error() != QFileDevice::NoError
                      ? file.errorString()
                      : QStringLiteral("the file was not written whole"));
}

std::optional<FileFailure> saveShared(const QString& path, const QByteArray& bytes,
                                      DirectWrite direct)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(direct == DirectWrite::WhenFolderIsReadOnly);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(file.errorString());
    if (const std::optional<FileFailure> failure = writeWhole(file, bytes)) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return failed(file.errorString());
    return std::nullopt;
}

// Over the old content of an owner-only file whose folder takes no new file,
// as QSaveFile's direct write does. Not truncated on opening: a file whose
// mode cannot be set keeps what it held.
std::optional<FileFailure> writeInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (const std::optional<QString> problem =
            openOwnerOnly(file, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failed(*problem);
    if (const std::optional<FileFailure> failure = writeWhole(file, bytes))
        return failure;
    if (!file.resize(bytes.size()) || !syncToDisk(file))
        return failed(file.errorString());
    return std::nullopt;
}

// A name beside path for the temporary file; it is opened as a new file
// only, so a name that is taken fails the save rather than a file being lost.
QString temporaryBeside(const QString& path)
{
    const QFileInfo info(path);
    return info.dir().filePath(QStringLiteral(".%1.%2.tmp")
                                   .arg(info.fileName())
                                   .arg(QRandomGenerator::global()->generate64(), 0, 36));
}

// Unlike QSaveFile, whose temporary file is created as the umask says and
// only then given the old file's mode, the temporary file here is owner-only
// from its creation: nobody can open it in between and read what follows.
std::optional<FileFailure> saveOwnerOnly(const QString& path, const QByteArray& bytes,
                                         DirectWrite direct)
{
    QFile temp(temporaryBeside(path));
    if (const std::optional<QString> problem = openOwnerOnly(
            temp, QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        const bool folderRefuses = !QFileInfo(QFileInfo(path).absolutePath()).isWritable();
        if (direct == DirectWrite::WhenFolderIsReadOnly && folderRefuses
            && QFileInfo(path).isFile())
            return writeInPlace(path, bytes);
        return failed(*problem);
    }
    std::optional<FileFailure> failure = writeWhole(temp, bytes);
    if (!failure && !syncToDisk(temp))
        failure = failed(temp.errorString());
    temp.close();
    // Replaces an old file in one step, which QFile::rename does not.
    std::error_code error;
    if (!failure)
        std::filesystem::rename(QFile::encodeName(temp.fileName()).constData(),
                                QFile::encodeName(path).constData(), error);
    if (!failure && error)
        failure = failed(QString::fromLocal8Bit(error.message()));
    if (failure)
        temp.remove();
    return failure;
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
                                          SaveOptions options)
{
    if (isOtherKind(path))
        return kNotRegular;
    return options.access == FileAccess::OwnerOnly ? saveOwnerOnly(path, bytes, options.direct)
                                                   : saveShared(path, bytes, options.direct);
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
