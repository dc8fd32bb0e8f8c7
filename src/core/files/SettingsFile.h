#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace q540 {

// The settings file "Q540.ini": an INI file whose section "Q540" holds the user-interface
// language under the key Jezyk (0 Polish, 1 English, 2 German). The file is read and
// edited the way the platform's profile routines do it, so a file that a user or another
// tool also keeps notes in comes back with everything but that one value untouched.
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    // "Q540.ini" beside the executable for a portable copy; for an installed
    // program (in the folder the package installs it to, or in one the user
    // cannot write) in the user's configuration folder. Needs a QCoreApplication.
    static QString defaultPath();
    static QString pathFor(const QString& programDir, const QString& installedProgramDir,
                           const QString& userConfigDir);

    const QString& path() const { return path_; }

    // The stored language, or 1 (English) when the file, the section or the key is
    // missing, unreadable, not an integer or outside 0..2. Never creates the file.
    int readJezyk() const;

    // Stores value as decimal text, creating the file or the section when needed.
    // Returns the message to show when the file cannot be written; the file is then
    // left as it was.
    std::optional<QString> writeJezyk(int value);

    // Whether a directory write is read back and compared (key Weryfikacja):
    // on unless the file says 0. Written as the language is, keeping the rest.
    bool readVerifyAfterWriting() const;
    std::optional<QString> writeVerifyAfterWriting(bool verify);
    // "Check by reading twice" for directory reads; off unless set.
    bool readReadTwice() const;
    std::optional<QString> writeReadTwice(bool twice);

    // The alphabetical order of the module (key Kolejnosc, a choice of
    // ModuleOrder.h): the system's unless the file names another.
    int readModuleOrder() const;
    std::optional<QString> writeModuleOrder(int choice);

private:
    std::optional<int> readNumber(QByteArrayView keyName) const;
    std::optional<QString> writeNumber(QByteArrayView keyName, int value);

    QString path_;
};

} // namespace q540
