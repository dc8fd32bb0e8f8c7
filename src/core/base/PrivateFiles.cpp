#include "base/PrivateFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace q540 {

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr int kOwnerOnlyMode = 0600;
constexpr int kPrivateFolderMode = 0700;

#ifdef Q_OS_UNIX
// Sets the mode on the descriptor of an open file or folder and checks what
// the system then holds, so that what is checked is what will be used. The
// check, not the call's result, decides: a file system that ignores modes
// fails it too.
std::optional<QString> restrictMode(int fd, int mode)
{
    constexpr int kPermissionBits = 0777;
    const int error = ::fchmod(fd, mode_t(mode)) == 0 ? 0 : errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return qt_error_string(errno);
    if (int(st.st_mode & kPermissionBits) == mode)
        return std::nullopt;
    return QStringLiteral("its mode %1 cannot be made %2: %3")
        .arg(st.st_mode & kPermissionBits, 4, 8, QLatin1Char('0'))
        .arg(mode, 4, 8, QLatin1Char('0'))
        .arg(qt_error_string(error));
}

// Private from its creation: nothing can be opened in it before it is.
bool createFolder(const QString& level)
{
    return ::mkdir(QFile::encodeName(level).constData(), kPrivateFolderMode) == 0;
}

bool madeByAnother()
{
    return errno == EEXIST;
}

std::optional<QString> restrictFolder(const QString& level)
{
    const int fd = ::open(QFile::encodeName(level).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return qt_error_string(errno);
    std::optional<QString> problem = restrictMode(fd, kPrivateFolderMode);
    ::close(fd);
    return problem;
}
#else
// Elsewhere the user's profile folders are private already.
std::optional<QString> restrictMode(int, int)
{
    return std::nullopt;
}

bool createFolder(const QString& level)
{
    return QDir().mkdir(level);
}

bool madeByAnother()
{
    return false;
}

std::optional<QString> restrictFolder(const QString&)
{
    return std::nullopt;
}
#endif

} // namespace

std::optional<QString> openOwnerOnly(QFile& file, QIODevice::OpenMode mode)
{
    if (!file.open(mode, kOwnerOnly))
        return file.errorString();
    if (const std::optional<QString> problem = restrictMode(file.handle(), kOwnerOnlyMode)) {
        file.close();
        return *problem;
    }
    return std::nullopt;
}

std::optional<QString> makePrivateFolder(const QString& folder)
{
    // The missing levels, outermost first.
    QStringList missing;
    for (QString level = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
         !QFileInfo::exists(level) && !missing.contains(level); level = QFileInfo(level).path())
        missing.prepend(level);
    for (const QString& level : missing) {
        const QString shown = QDir::toNativeSeparators(level) + QStringLiteral(": ");
        if (!createFolder(level)) {
            // Made by another program meanwhile: not this program's to change.
            if (madeByAnother())
                continue;
            return shown + qt_error_string(errno);
        }
        if (const std::optional<QString> problem = restrictFolder(level))
            return shown + *problem;
    }
    if (!QFileInfo(folder).isDir())
        return QDir::toNativeSeparators(folder) + QStringLiteral(": not a folder");
    return std::nullopt;
}

} // namespace q540
