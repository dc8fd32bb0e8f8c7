#pragma once

#include <QFile>
#include <QString>

#include <functional>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace q540::test {

// Runs judge as a user without privileges and returns its small result: as
// is when the test is not root, otherwise in a child process that has become
// "nobody" (65534); -1 when the child could not become it or did not end.
inline int asUnprivilegedUser(const std::function<int()>& judge)
{
    if (::geteuid() != 0)
        return judge();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(255);
        ::_exit(judge());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// The permission bits of a file or folder, -1 when it is not there.
inline int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace q540::test
