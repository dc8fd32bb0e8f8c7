#pragma once

#include "base/Outcome.h"
#include "directory/DirectoryDocument.h"
#include "directory/DocumentChange.h"
#include "files/SafeFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace q540 {

class DirectoryEditor;
struct TableRead;
class FileDialogs;
struct ReadNotes;
class Localisation;
class UserSink;

// The open file as the title and Save show it: a step of the undo stack
// that changed it (New, Open, Import…) gives it back.
struct FileState {
    QString name;
    QString path;
    QString caption;
    bool saved = false;
    bool fromList = false;
    bool saveEnabled = false;
    friend bool operator==(const FileState&, const FileState&) = default;
};

// The commands New, Open, Import, Save and Save as over the directory editor,
// and the document state they share: the current file, whether the directory
// has one, the window caption and whether Save is available. The window shows
// that state and lends its address, intro and display-time fields through the
// three functions below; nothing else of it is known here.
//
// Files are read whole and applied only when every line was good, so a refused
// file never costs the open work; files are written through a temporary file
// that replaces the old one only when complete.
class FileCommands {
public:
    FileCommands(DirectoryEditor& editor, UserSink& sink, const Localisation& texts,
                 FileDialogs& dialogs);

    void setDialogs(FileDialogs& dialogs) { dialogs_ = &dialogs; }

    // The window's fields as the document holds them, and back.
    std::function<DocumentFields()> readFields;
    std::function<void(const DocumentFields&)> showFields;
    // Shows a page of the selector (the window's selectPage); by
    // default only the directory page is switched.
    std::function<void(int selectorIndex)> selectPage;

    // The unsaved-changes mark: set by every edit and by whatever fills the
    // directory from elsewhere, cleared by New, Open and Save.
    bool isModified() const { return modified_; }
    void markModified() { modified_ = true; }
    // The window's undo decides it: modified exactly while not at the step
    // where the directory was last opened or saved.
    void setModified(bool modified) { modified_ = modified; }
    // True when nothing unsaved would be lost, or the user lets it go. New,
    // Open and Import ask it themselves.
    bool mayReplaceWork();

    // Empties the directory and the intro, selects the time 2 and forgets that
    // the directory has a file; the address, the module language and the file
    // name stay. Sets the module's entry-count text to "0".
    Outcome newDirectory(QString& moduleEntryCount);
    // Each is done when the directory now matches a file: opened, imported or
    // written. A cancelled, refused or failed command changes nothing. An
    // import leaves the directory modified: its entries are in no directory
    // file yet.
    // A resident table given to Open is offered to Import table instead: a Yes
    // leaves its path for takeOfferedTable().
    Outcome openDirectoryFile();
    QString takeOfferedTable() { return std::exchange(offeredTable_, QString()); }
    // Opens a kept copy (a history file) as a new document: its contents with
    // no file name, and unsaved, so that Save asks where it goes.
    Outcome openCopy(const QString& path);
    Outcome importListFile();
    Outcome save();
    Outcome saveAs();
    // A resident table (File > Import table…): read and reported, then, as
    // choose decides after seeing the report, replacing the directory
    // (true), merged into it (false) or not taken (nothing). choose may read
    // the file's bytes again in another encoding: the table it leaves is the
    // one taken. The directory is then modified; its file name stays.
    // The table is the one at path, or else the one the user chooses.
    using TableChoice = std::function<std::optional<bool>(TableRead&, QByteArrayView bytes)>;
    Outcome importTable(const TableChoice& choose, const QString& path = {});
    // File > Export table…: the directory's entries as a table, tab-separated
    // for a name ending in .tsv or .txt, else with semicolons. A directory
    // file is never suggested, and replacing one is asked as such.
    Outcome exportTable();
    // Another file the user names (a report): saved as every file is, the
    // user asked before one is replaced, a failure shown and the old file
    // kept. Done with the path in *saved.
    Outcome saveOtherFile(const QString& filter, const QString& suggestedPath,
                          const QByteArray& bytes, QString* saved = nullptr,
                          FileAccess access = FileAccess::Shared);
    // The same with the bytes made for the name the user chose.
    Outcome saveOtherFile(const QString& filter, const QString& suggestedPath,
                          const std::function<QByteArray(const QString& path)>& bytesFor,
                          QString* saved = nullptr, FileAccess access = FileAccess::Shared);

    // The directory as a file would hold it now.
    DirectoryDocument document() const;

    // Undo and redo. What changed within scope since the last step (or since
    // startSteps); a change outside it is taken as it is and never undone.
    void startSteps();
    DocumentChange takeChange(ChangeScope scope);
    // The directory and the window's fields back to how a change left them
    // (undo false) or found them (undo true).
    void applyChange(const DocumentChange& change, bool undo);
    // A field the program set, not the user (the display time the module
    // holds, the address's word in a new language): the next step is
    // measured from its new value, and nothing else is taken in.
    void absorbTime();
    void absorbAddress();
    FileState fileState() const;
    void restoreFileState(const FileState& state);

    // The name Save as really writes: path with ".csv" appended unless it has it.
    static QString directoryFileName(const QString& path);
    // The question before a file is replaced, naming it, in the language by index.
    static QString overwriteQuestion(const QString& name, int language);
    // The question before New, Open, Import or a module read replaces unsaved work.
    static QString unsavedChangesQuestion(int language);

    const QString& fileName() const { return name_; }
    const QString& filePath() const { return path_; }
    bool hasBeenSaved() const { return saved_; }
    // True after an Import, until the directory gets a directory file of its own.
    bool currentFileIsList() const { return fromList_; }
    bool saveEnabled() const { return saveEnabled_; }
    const QString& caption() const { return caption_; }

private:
    Outcome readDirectoryFile(const QString& path, bool offerTable = false);
    // Whether a directory file that could not be opened is a resident table
    // the user wants imported instead.
    bool offerTableImport(const QString& path);
    Outcome saveOtherFile(const QString& filter, const QString& suggestedPath,
                          const std::function<QByteArray(const QString& path)>& bytesFor,
                          const std::function<QString(const QString& path)>& replaceQuestion,
                          QString* saved, FileAccess access);
    QString tableSuggestion() const;
    Outcome readListFile(const QString& path);
    Outcome writeDirectoryFile(const QString& path);
    // The open dialog's file in path when it has the extension: done, or
    // cancelled with the dialog, or refused for another extension.
    Outcome chooseFile(const QString& filter, const QString& extension, QString& path);
    // The file's first limit + 1 bytes in bytes, or why not once the user has been told.
    Outcome readFile(const QString& path, qsizetype limit, QByteArray& bytes);
    void takeFile(const QString& path, bool list);
    void showPage(int selectorIndex);
    void showFileFailure(bool saving, const QString& path, const FileFailure& failure);
    void showReadNotice(const ReadNotes& notes);

    DirectoryEditor& editor_;
    // The document after the last step, which the next one is measured against.
    DirectoryDocument stepBase_;
    UserSink& sink_;
    const Localisation& texts_;
    FileDialogs* dialogs_;
    QString name_;
    QString path_;
    bool saved_ = false;
    bool fromList_ = false;
    bool saveEnabled_ = false;
    bool modified_ = false;
    QString caption_;
    QString offeredTable_;
};

} // namespace q540
