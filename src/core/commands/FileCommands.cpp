#include "commands/FileCommands.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "commands/FileDialogs.h"
#include "directory/DirectoryEditor.h"
#include "files/DirectoryFile.h"
#include "files/DirectoryStore.h"
#include "files/FileNotices.h"
#include "files/ListFile.h"
#include "files/ResidentTable.h"
#include "files/SafeFile.h"
#include "files/TextLines.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace q540 {

namespace {

const QString kDirectoryExtension = QStringLiteral(".csv");
const QString kListExtension = QStringLiteral(".txt");
const QString kOpenFilter = QStringLiteral("(*.csv)");
const QString kImportFilter = QStringLiteral("(*.txt)");
const QString kTableFilter = QStringLiteral("(*.csv *.tsv *.txt)");
const QString kSaveFilter = QStringLiteral("Pliki (*.csv)");
const QString kCaptionSeparator = QStringLiteral("  ");

// A pipe, a folder or a device is not a file of ours; anything else failed.
Outcome outcomeOf(const FileFailure& failure)
{
    return failure.kind == FileFailure::Kind::NotRegular
               ? Outcome::refused(Outcome::Refusal::WrongFile)
               : Outcome::failed();
}

int languageOf(const Localisation& texts)
{
    return std::clamp(texts.language(), 0, Localisation::kLanguageCount - 1);
}

} // namespace

QString FileCommands::overwriteQuestion(const QString& name, int language)
{
    return fixedText(FixedText::OverwriteFile,
                     std::clamp(language, 0, Localisation::kLanguageCount - 1))
        .arg(name);
}

QString FileCommands::unsavedChangesQuestion(int language)
{
    return fixedText(FixedText::DiscardUnsavedChanges,
                     std::clamp(language, 0, Localisation::kLanguageCount - 1));
}

QString FileCommands::directoryFileName(const QString& path)
{
    return fileExtension(path) == kDirectoryExtension ? path : path + kDirectoryExtension;
}

FileCommands::FileCommands(DirectoryEditor& editor, UserSink& sink, const Localisation& texts,
                           FileDialogs& dialogs)
    : editor_(editor), sink_(sink), texts_(texts), dialogs_(&dialogs), caption_(kApplicationTitle)
{
}

DirectoryDocument FileCommands::document() const
{
    return {editor_.grid(), readFields()};
}

void FileCommands::startSteps()
{
    stepBase_ = document();
}

DocumentChange FileCommands::takeChange(ChangeScope scope)
{
    DirectoryDocument now = document();
    DocumentChange change = changeBetween(stepBase_, now, scope);
    stepBase_ = std::move(now);
    return change;
}

void FileCommands::applyChange(const DocumentChange& change, bool undo)
{
    DirectoryDocument changed = document();
    q540::applyChange(changed, change, undo);
    editor_.grid() = changed.grid;
    showFields(changed.fields);
    showPage(editor_.page().selectorIndex());
    stepBase_ = document();
}

void FileCommands::absorbTime()
{
    stepBase_.fields.timeIndex = readFields().timeIndex;
}

void FileCommands::absorbAddress()
{
    stepBase_.fields.address = readFields().address;
}

FileState FileCommands::fileState() const
{
    return {name_, path_, caption_, saved_, fromList_, saveEnabled_};
}

void FileCommands::restoreFileState(const FileState& state)
{
    name_ = state.name;
    path_ = state.path;
    caption_ = state.caption;
    saved_ = state.saved;
    fromList_ = state.fromList;
    saveEnabled_ = state.saveEnabled;
}

bool FileCommands::mayReplaceWork()
{
    return !modified_ || sink_.askYesNo(unsavedChangesQuestion(languageOf(texts_)), QString());
}

Outcome FileCommands::newDirectory(QString& moduleEntryCount)
{
    if (!mayReplaceWork())
        return Outcome::cancelled();
    saved_ = false;
    fromList_ = false;
    caption_ = kApplicationTitle;
    saveEnabled_ = false;
    editor_.page().Zeruj_dane(moduleEntryCount);
    DocumentFields fields = readFields();
    fields.intro = {};
    fields.timeIndex = kIntroTimeDefaultIndex;
    showFields(fields);
    showPage(editor_.page().selectorIndex());
    modified_ = false;
    return Outcome::done();
}

Outcome FileCommands::openDirectoryFile()
{
    if (!mayReplaceWork())
        return Outcome::cancelled();
    QString path;
    Outcome outcome = chooseFile(kOpenFilter, kDirectoryExtension, path);
    if (outcome.isDone())
        outcome = readDirectoryFile(path, true);
    if (!outcome.isDone())
        return outcome;
    takeFile(path, false);
    saveEnabled_ = true;
    modified_ = false;
    return outcome;
}

Outcome FileCommands::openCopy(const QString& path)
{
    if (!mayReplaceWork())
        return Outcome::cancelled();
    const Outcome outcome = readDirectoryFile(path);
    if (!outcome.isDone())
        return outcome;
    saved_ = false;
    fromList_ = false;
    caption_ = kApplicationTitle;
    saveEnabled_ = false;
    modified_ = true;
    return outcome;
}

Outcome FileCommands::readDirectoryFile(const QString& path, bool offerTable)
{
    const DirectoryFileLoad parse = loadDirectoryFile(path);
    if (parse.failure) {
        showFileFailure(false, path, *parse.failure);
        return outcomeOf(*parse.failure);
    }
    if (!parse.document) {
        if (!offerTable || !offerTableImport(path))
            sink_.showMessage(texts_.text(textKeyOf(parse.problem)));
        return Outcome::refused(Outcome::Refusal::WrongFile);
    }
    editor_.grid() = parse.document->grid;
    showFields(parse.document->fields);
    showPage(editor_.page().selectorIndex());
    showReadNotice(parse.notes);
    return Outcome::done();
}

// Both are .csv: a table opened by mistake is pointed to its own command.
bool FileCommands::offerTableImport(const QString& path)
{
    const FileRead read = readWholeFile(path, kTableMaxSize);
    if (!read.bytes)
        return false;
    if (const TableRead table = parseTable(*read.bytes); table.refusal || table.entries.empty())
        return false;
    const QString name = QFileInfo(path).fileName();
    if (sink_.askYesNo(fixedText(FixedText::OpenedFileIsTable, languageOf(texts_)).arg(name),
                       QString()))
        offeredTable_ = path;
    return true;
}

Outcome FileCommands::importListFile()
{
    if (!mayReplaceWork())
        return Outcome::cancelled();
    QString path;
    Outcome outcome = chooseFile(kImportFilter, kListExtension, path);
    if (outcome.isDone())
        outcome = readListFile(path);
    if (!outcome.isDone())
        return outcome;
    takeFile(path, true);
    modified_ = true;
    return outcome;
}

Outcome FileCommands::readListFile(const QString& path)
{
    QByteArray bytes;
    if (const Outcome read = readFile(path, kListFileMaxSize, bytes); !read.isDone())
        return read;
    const ListFileParse parse = parseListFile(bytes);
    if (!parse.list) {
        sink_.showMessage(texts_.text(textKeyOf(parse.problem)));
        return Outcome::refused(Outcome::Refusal::WrongFile);
    }

    // The entries go in through zone 1's page as typed text would, so the page
    // copy cuts them to the field lengths; the list is rebuilt once at the end.
    NameList& list = editor_.list();
    list.setEnabled(false);
    showPage(0);
    DirectoryPage& page = editor_.page();
    for (const ListEntry& entry : parse.list->entries) {
        page.line1Changed(entry.apartment, entry.line1.left(kLine1Length));
        page.line2Changed(entry.apartment, entry.line2.left(kLine2Length));
    }
    DocumentFields fields = readFields();
    fields.intro = parse.list->intro;
    fields.timeIndex = parse.list->timeIndex;
    showFields(fields);
    list.setEnabled(true);
    showPage(0);
    showReadNotice(parse.notes);
    return Outcome::done();
}

void FileCommands::showReadNotice(const ReadNotes& notes)
{
    if (const QString notice = readNotice(notes, languageOf(texts_)); !notice.isEmpty())
        sink_.showMessage(notice);
}

Outcome FileCommands::save()
{
    // After an Import the current file is the older list: writing the directory
    // format over it would destroy it for the releases that read it.
    if (!saved_ || fromList_)
        return saveAs();
    if (!sink_.askYesNo(overwriteQuestion(name_, languageOf(texts_)), QString()))
        return Outcome::cancelled();
    return writeDirectoryFile(path_ + name_);
}

Outcome FileCommands::saveAs()
{
    QString suggested;
    if (fromList_)
        suggested = path_ + name_.chopped(kListExtension.size()) + kDirectoryExtension;
    else if (saved_)
        suggested = path_ + name_;
    const QString chosen = dialogs_->saveFileName(kSaveFilter, suggested);
    if (chosen.isEmpty())
        return Outcome::cancelled();
    // The question names the file really written: the dialog knows nothing of
    // the ".csv" added here, so it is told not to ask itself.
    const QString path = directoryFileName(chosen);
    if (QFileInfo::exists(path)
        && !sink_.askYesNo(overwriteQuestion(QFileInfo(path).fileName(), languageOf(texts_)),
                           QString()))
        return Outcome::cancelled();
    const Outcome saved = writeDirectoryFile(path);
    if (!saved.isDone())
        return saved;
    takeFile(path, false);
    saveEnabled_ = true;
    return saved;
}

Outcome FileCommands::importTable(const TableChoice& choose, const QString& tablePath)
{
    const QString path =
        tablePath.isEmpty() ? dialogs_->openFileName(kTableFilter, path_) : tablePath;
    if (path.isEmpty())
        return Outcome::cancelled();
    QByteArray bytes;
    if (const Outcome read = readFile(path, kTableMaxSize, bytes); !read.isDone())
        return read;
    TableRead table = parseTable(bytes);
    if (table.refusal) {
        sink_.showMessage(tableReportText(table, languageOf(texts_)));
        return Outcome::refused(Outcome::Refusal::WrongFile);
    }
    const std::optional<bool> replace = choose(table, bytes);
    // A reading in an encoding the bytes are not valid in takes nothing.
    if (!replace || table.refusal)
        return Outcome::cancelled();
    editor_.grid() = applyTable(editor_.grid(), table, *replace);
    showPage(editor_.page().selectorIndex());
    modified_ = true;
    return Outcome::done();
}

// The table's name beside the directory's, numbered past any directory file:
// both are .csv, and Enter in the dialog must not replace a directory.
QString FileCommands::tableSuggestion() const
{
    const QString base = path_ + QFileInfo(name_).completeBaseName() + QStringLiteral("-table");
    QString suggested = base + kDirectoryExtension;
    for (int n = 2; loadDirectoryFile(suggested).document; ++n)
        suggested = base + u'-' + QString::number(n) + kDirectoryExtension;
    return suggested;
}

Outcome FileCommands::exportTable()
{
    const auto bytesFor = [this](const QString& path) {
        const QString extension = fileExtension(path).toLower();
        const bool tabs = extension == u".tsv" || extension == u".txt";
        return tableBytes(editor_.grid(), tabs ? TableSeparator::Tab : TableSeparator::Semicolon);
    };
    const auto question = [this](const QString& path) {
        const QString name = QFileInfo(path).fileName();
        const int language = languageOf(texts_);
        return loadDirectoryFile(path).document
                   ? fixedText(FixedText::ExportOverDirectoryFile, language).arg(name)
                   : overwriteQuestion(name, language);
    };
    return saveOtherFile(kTableFilter, tableSuggestion(), bytesFor, question, nullptr,
                         FileAccess::Shared);
}

Outcome FileCommands::saveOtherFile(const QString& filter, const QString& suggestedPath,
                                    const QByteArray& bytes, QString* saved, FileAccess access)
{
    return saveOtherFile(
        filter, suggestedPath, [&bytes](const QString&) { return bytes; }, saved, access);
}

Outcome FileCommands::saveOtherFile(const QString& filter, const QString& suggestedPath,
                                    const std::function<QByteArray(const QString&)>& bytesFor,
                                    QString* saved, FileAccess access)
{
    const auto question = [this](const QString& path) {
        return overwriteQuestion(QFileInfo(path).fileName(), languageOf(texts_));
    };
    return saveOtherFile(filter, suggestedPath, bytesFor, question, saved, access);
}

Outcome FileCommands::saveOtherFile(const QString& filter, const QString& suggestedPath,
                                    const std::function<QByteArray(const QString&)>& bytesFor,
                                    const std::function<QString(const QString&)>& replaceQuestion,
                                    QString* saved, FileAccess access)
{
    const QString path = dialogs_->saveFileName(filter, suggestedPath);
    if (path.isEmpty())
        return Outcome::cancelled();
    if (QFileInfo::exists(path) && !sink_.askYesNo(replaceQuestion(path), QString()))
        return Outcome::cancelled();
    if (const std::optional<FileFailure> failure = saveFileSafely(path, bytesFor(path), {access})) {
        showFileFailure(true, path, *failure);
        return Outcome::failed();
    }
    if (saved)
        *saved = path;
    return Outcome::done();
}

Outcome FileCommands::writeDirectoryFile(const QString& path)
{
    const DirectoryDocument current = document();
    const DirectoryFileSave save = saveDirectoryFile(path, current);
    if (save.failure) {
        showFileFailure(true, path, *save.failure);
        return outcomeOf(*save.failure);
    }
    modified_ = false;
    // The file holds what the format can hold (a semicolon as a comma): the
    // window shows that, so what is seen is what was saved.
    if (save.saved && !(*save.saved == current)) {
        editor_.grid() = save.saved->grid;
        showFields(save.saved->fields);
        showPage(editor_.page().selectorIndex());
    }
    return Outcome::done();
}

Outcome FileCommands::chooseFile(const QString& filter, const QString& extension, QString& path)
{
    path = dialogs_->openFileName(filter, path_);
    if (path.isEmpty())
        return Outcome::cancelled();
    if (fileExtension(path) != extension) {
        sink_.showMessage(texts_.text(textkey::kWrongFile));
        return Outcome::refused(Outcome::Refusal::WrongFile);
    }
    return Outcome::done();
}

Outcome FileCommands::readFile(const QString& path, qsizetype limit, QByteArray& bytes)
{
    FileRead read = readWholeFile(path, limit);
    if (!read.bytes) {
        showFileFailure(false, path, read.failure);
        return outcomeOf(read.failure);
    }
    bytes = std::move(*read.bytes);
    return Outcome::done();
}

void FileCommands::takeFile(const QString& path, bool list)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    path_ = path.left(slash + 1);
    name_ = path.mid(slash + 1);
    saved_ = true;
    fromList_ = list;
    caption_ = kApplicationTitle + kCaptionSeparator + path;
}

void FileCommands::showPage(int selectorIndex)
{
    if (selectPage)
        selectPage(selectorIndex);
    else
        editor_.page().selectPage(selectorIndex);
}

void FileCommands::showFileFailure(bool saving, const QString& path, const FileFailure& failure)
{
    // A pipe, a folder or a device is not a file of ours, whichever the command.
    if (failure.kind == FileFailure::Kind::NotRegular) {
        sink_.showMessage(texts_.text(textkey::kWrongFile));
        return;
    }
    const QString& reason = failure.reason;
    const FixedText what = saving ? FixedText::CannotSaveFile : FixedText::CannotOpenFile;
    sink_.showMessage(fixedText(what, languageOf(texts_)) + u'\n' + QDir::toNativeSeparators(path)
                      + u'\n' + reason);
}

} // namespace q540
