#pragma once

#include "directory/DirectoryDocument.h"
#include "files/SafeFile.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace q540 {

class UserSink;

// The module operations whose result the history keeps.
enum class HistoryOperation { Read, Write };

// One kept directory, as its file name describes it.
struct HistoryEntry {
    QString path;
    QDateTime when; // local time, to the second
    HistoryOperation operation = HistoryOperation::Read;
    int moduleVariant = 0; // the module's variant digit (K-n)
    int entries = 0;
};

// Every directory a module gave or was given, kept as a directory file in
// one folder, named by local date and time, operation, module and entry
// count ("2026-12-10_06-01-32_read_K3_1020.csv"). Files of other names in
// the folder are left alone. Times are passed in, so tests set the clock.
class History {
public:
    explicit History(QString folder);

    // The folder beside the program's other data ("…/q540/history"); the
    // demo's simulated module has one of its own, so that no copy of it is
    // ever taken for a real module's. Needs a QCoreApplication.
    static QString defaultFolder(bool demo = false);

    const QString& folder() const { return folder_; }

    // The kept directories, newest first.
    std::vector<HistoryEntry> entries() const;

    // Keeps document through the safe save, then prunes. The new file's path,
    // or why it was not kept.
    struct Kept {
        std::optional<QString> path;
        std::optional<FileFailure> failure;
    };
    Kept keep(const DirectoryDocument& document, HistoryOperation operation, int moduleVariant,
              const QDateTime& now) const;

    // Removes the oldest files beyond the newest kKeepAtLeast, but never one
    // younger than kKeepDays. Returns the paths removed.
    static constexpr int kKeepAtLeast = 500;
    static constexpr int kKeepDays = 30;
    std::vector<QString> prune(const QDateTime& now) const;

    // Whether the newest kept directory of this module (read from it or
    // written to it, both are what it held then) has as many entries as it
    // now reports: then the history has what it holds, unless it was changed
    // on the panel since, and a write need not read it first.
    bool holdsModuleContents(int moduleVariant, int entryCount) const;

private:
    QString folder_;
};

// The entries a document holds (entries whose text is not all spaces).
int entryCountOf(const DirectoryGrid& grid);

// Keeps a transfer's result in the history, telling the sink, in a program
// language, when it could not: the transfer stands either way.
void keepInHistory(const History& history, const DirectoryDocument& document,
                   HistoryOperation operation, int moduleVariant, const QDateTime& now,
                   UserSink& sink, int language);

} // namespace q540
