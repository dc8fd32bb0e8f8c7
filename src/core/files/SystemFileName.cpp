#include "files/SystemFileName.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q540 {

namespace {

constexpr char16_t kRawByteBase = 0xDC00; // U+DC80..U+DCFF carry bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at the start of bytes, or 0.
qsizetype validSequence(QByteArrayView bytes)
{
    const auto b = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = b(0);
    if (lead < 0x80)
        return 1;
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || bytes.size() < length)
        return 0;
    for (qsizetype i = 1; i < length; ++i)
        if ((b(i) & 0xC0) != 0x80)
            return 0;
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    const unsigned char second = b(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0)
        || (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

// Linux reopens a file, or reaches into a folder, through the link of its
// open descriptor.
QByteArray descriptorPath(int descriptor)
{
    return QByteArray("/proc/self/fd/") + QByteArray::number(descriptor);
}

} // namespace

QString fileNameFromSystem(QByteArrayView bytes)
{
    QString name;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = validSequence(bytes.sliced(i));
        if (length == 0) {
            name += QChar(char16_t(kRawByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            name += QString::fromUtf8(bytes.sliced(i, length));
            i += length;
        }
    }
    return name;
}

QByteArray fileNameToSystem(const QString& name)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        if (unit >= kRawByteBase + 0x80 && unit <= kRawByteBase + 0xFF) {
            bytes += char(unit - kRawByteBase);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < name.size()
                   && name[i + 1].isLowSurrogate()) {
            bytes += QStringView(name).sliced(i, 2).toUtf8();
            ++i;
        } else {
            bytes += QStringView(name).sliced(i, 1).toUtf8();
        }
    }
    return bytes;
}

bool hasRawBytes(const QString& name)
{
    for (QChar c : name)
        if (c.unicode() >= kRawByteBase + 0x80 && c.unicode() <= kRawByteBase + 0xFF)
            return true;
    return false;
}

RawNamedFiles::~RawNamedFiles()
{
    for (const Stand& stand : stands_) {
        if (!stand.standIn.isEmpty())
            ::unlinkat(stand.descriptor, stand.standIn.constData(), 0); // not moved: never kept
        ::close(stand.descriptor);
    }
}

QStringList RawNamedFiles::usable(QStringList arguments, int output, const QString& suffix)
{
    for (qsizetype i = 0; i < arguments.size(); ++i)
        if (hasRawBytes(arguments[i]))
            arguments[i] = i == output ? this->output(arguments[i], suffix) : input(arguments[i]);
    return arguments;
}

// O_PATH neither reads nor blocks on a pipe: the readers decide what the
// file is, as they do for any name.
QString RawNamedFiles::input(const QString& given)
{
    const int descriptor = ::open(fileNameToSystem(given).constData(), O_PATH | O_CLOEXEC);
    if (descriptor < 0)
        return given;
    const QString path = QString::fromLatin1(descriptorPath(descriptor));
    stands_.push_back({descriptor, path, given, {}, {}});
    return path;
}

QString RawNamedFiles::output(const QString& given, const QString& suffix)
{
    const QByteArray bytes = fileNameToSystem(given);
    const qsizetype slash = bytes.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : bytes.left(slash + 1);
    const int descriptor = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return given; // the save says why
    const QByteArray standIn = ".q540-" + QByteArray::number(::getpid()) + "-"
                               + QByteArray::number(stands_.size())
                               + (bytes.endsWith(suffix.toUtf8()) ? suffix.toUtf8() : QByteArray());
    const QString path = QString::fromUtf8(descriptorPath(descriptor) + '/' + standIn);
    stands_.push_back({descriptor, path, given, standIn, bytes.mid(slash + 1)});
    return path;
}

const RawNamedFiles::Stand* RawNamedFiles::standFor(const QString& path) const
{
    for (const Stand& stand : stands_)
        if (stand.path == path)
            return &stand;
    return nullptr;
}

QString RawNamedFiles::shown(const QString& path) const
{
    const Stand* stand = standFor(path);
    return stand ? stand->given : path;
}

bool RawNamedFiles::isFile(const QString& path) const
{
    const Stand* stand = standFor(path);
    if (!stand || stand->standIn.isEmpty())
        return QFileInfo(path).isFile();
    struct stat info {};
    return ::fstatat(stand->descriptor, stand->name.constData(), &info, 0) == 0
           && S_ISREG(info.st_mode);
}

std::optional<QString> RawNamedFiles::finish()
{
    for (Stand& stand : stands_) {
        if (stand.standIn.isEmpty())
            continue;
        struct stat info {};
        if (::fstatat(stand.descriptor, stand.standIn.constData(), &info, 0) != 0)
            continue; // nothing was written
        if (::renameat(stand.descriptor, stand.standIn.constData(), stand.descriptor,
                       stand.name.constData())
            != 0)
            return stand.given + QStringLiteral(": ") + qt_error_string(errno);
        stand.standIn.clear();
    }
    return std::nullopt;
}

} // namespace q540
