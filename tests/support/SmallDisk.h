#pragma once

#include <QString>

#include <sys/mount.h>

namespace q540::test {

// A real file system of a few hundred kilobytes (tmpfs) mounted on folder
// while this lives, so that free-space checks meet a disk that is nearly
// full. Needs root, as the suite runs in CI; mounted() says whether it is.
class SmallDisk {
public:
    SmallDisk(const QString& folder, int kilobytes) : folder_(folder.toLocal8Bit())
    {
        const QByteArray size = "size=" + QByteArray::number(kilobytes) + 'k';
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, size.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

} // namespace q540::test
