#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace q540 {

// File names as the system gives them. A Linux name is bytes, not always
// valid UTF-8 (a name copied from an old FAT stick, an archive made on another
// system). Decoded plainly, such bytes become U+FFFD and the file can be
// neither opened nor written under its name again. Here each byte that is not
// part of valid UTF-8 is carried as the lone surrogate U+DC80..U+DCFF, so that
// the name goes back to exactly the bytes it came from.
QString fileNameFromSystem(QByteArrayView bytes);
QByteArray fileNameToSystem(const QString& name);
// Whether name carries such bytes, which Qt's own file classes cannot reach.
bool hasRawBytes(const QString& name);

// Stands in for names with raw bytes while a command runs: an existing file
// is reached through its open descriptor (/proc/self/fd/N), a file to be
// written is written under a stand-in name in its folder and moved to its
// own name by finish(). Names without raw bytes pass through unchanged.
class RawNamedFiles {
public:
    RawNamedFiles() = default;
    ~RawNamedFiles();
    RawNamedFiles(const RawNamedFiles&) = delete;
    RawNamedFiles& operator=(const RawNamedFiles&) = delete;

    // Every argument with raw bytes replaced by a path Qt can use: the one
    // at output by a stand-in for a file to be written (ending in suffix, so
    // that a caller adding ".csv" adds nothing), the others by the open file
    // they name (left as they are when they cannot be opened: the reader
    // says why).
    QStringList usable(QStringList arguments, int output, const QString& suffix);
    // The name given for a path usable() returned, for messages.
    QString shown(const QString& path) const;
    // Whether path (a stand-in: its own name) is a regular file now.
    bool isFile(const QString& path) const;
    // Moves each written stand-in to its own name; why the first could not
    // be, or nothing.
    std::optional<QString> finish();

private:
    struct Stand {
        int descriptor = -1; // the open file, or for an output its folder
        QString path;        // what Qt uses
        QString given;
        QByteArray standIn; // an output's name in its folder while written
        QByteArray name;    // its own name there
    };
    QString input(const QString& given);
    QString output(const QString& given, const QString& suffix);
    const Stand* standFor(const QString& path) const;
    std::vector<Stand> stands_;
};

} // namespace q540
