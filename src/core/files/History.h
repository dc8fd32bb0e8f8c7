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
// A checked read was read twice (a third time where two differed) and agreed.
enum class HistoryOperation { Read, Write, CheckedRead };

// Its word in the copy's file name and the headless tool's list: "read",
// "write", "read-checked".
QString historyOperationName(HistoryOperation operation);

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

    // Keeps document through the safe save, reads it back, then prunes. The
    // new file's path, or why it was not kept.
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

    // Why a copy was not kept, in words: the reason, else the folder.
    QString failureText(const Kept& kept) const;

    // The newest kept directory of this module (read from it or written to
    // it, both are what it held then). Only a candidate: whether the module
    // still holds it is known only by reading the module.
    std::optional<HistoryEntry> newestOf(int moduleVariant) const;

private:
    QString folder_;
};

// The entries a document holds (entries whose text is not all spaces).
int entryCountOf(const DirectoryGrid& grid);

// Keeps a transfer's result in the history, telling the sink, in a program
// language, when it could not: the transfer stands either way.
History::Kept keepInHistory(const History& history, const DirectoryDocument& document,
                            HistoryOperation operation, int moduleVariant, const QDateTime& now,
                            UserSink& sink, int language);

} // namespace q540
