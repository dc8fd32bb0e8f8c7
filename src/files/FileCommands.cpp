#include "files/FileCommands.h"

#include "directory/DirectoryEditor.h"
#include "files/DirectoryFile.h"
#include "files/FileDialogs.h"
#include "files/ListFile.h"
#include "files/TextLines.h"
#include "ui/AppInfo.h"
#include "ui/Localisation.h"
#include "ui/UserSink.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace q540 {

namespace {

const QString kDirectoryExtension = QStringLiteral(".csv");
const QString kListExtension = QStringLiteral(".txt");
const QString kOpenFilter = QStringLiteral("(*.csv)");
const QString kImportFilter = QStringLiteral("(*.txt)");
const QString kSaveFilter = QStringLiteral("Pliki (*.csv)");
const QString kCaptionSeparator = QStringLiteral("  ");

} // namespace

FileCommands::FileCommands(DirectoryEditor& editor, UserSink& sink, const Localisation& texts,
                           FileDialogs& dialogs)
    : editor_(editor), sink_(sink), texts_(texts), dialogs_(&dialogs), caption_(kApplicationTitle)
{
}

DirectoryDocument FileCommands::document() const
{
    return {editor_.grid(), readFields()};
}

void FileCommands::Nowy1Click(QString& moduleEntryCount)
{
    bylZapis_ = false;
    fromList_ = false;
    caption_ = kApplicationTitle;
    saveEnabled_ = false;
    editor_.page().Zeruj_dane(moduleEntryCount);
    DocumentFields fields = readFields();
    fields.intro = {};
    fields.timeIndex = kIntroTimeDefaultIndex;
    showFields(fields);
    showPage(editor_.page().selectorIndex());
}

bool FileCommands::Otwrz1Click()
{
    const QString path = chooseFile(kOpenFilter, kDirectoryExtension);
    if (path.isEmpty() || !Wczytaj(path))
        return false;
    takeFile(path, false);
    saveEnabled_ = true;
    return true;
}

bool FileCommands::Wczytaj(const QString& path)
{
    const std::optional<QByteArray> bytes = readFile(path, kDirectoryFileMaxSize);
    if (!bytes)
        return false;
    const DirectoryFileParse parse = parseDirectoryFile(*bytes);
    if (!parse.document) {
        sink_.showMessage(texts_.text(textKeyOf(parse.problem)));
        return false;
    }
    editor_.grid() = parse.document->grid;
    showFields(parse.document->fields);
    showPage(editor_.page().selectorIndex());
    return true;
}

bool FileCommands::Importuj1Click()
{
    const QString path = chooseFile(kImportFilter, kListExtension);
    if (path.isEmpty() || !Wczytaj_import(path))
        return false;
    takeFile(path, true);
    return true;
}

bool FileCommands::Wczytaj_import(const QString& path)
{
    const std::optional<QByteArray> bytes = readFile(path, kListFileMaxSize);
    if (!bytes)
        return false;
    const ListFileParse parse = parseListFile(*bytes);
    if (!parse.list) {
        sink_.showMessage(texts_.text(textKeyOf(parse.problem)));
        return false;
    }

    // The entries go in through zone 1's page as typed text would, so the page
    // copy cuts them to the field lengths; the list is rebuilt once at the end.
    NameList& list = editor_.list();
    list.setEnabled(false);
    showPage(0);
    DirectoryPage& page = editor_.page();
    for (const ListEntry& entry : parse.list->entries) {
        page.Edit1Change(entry.apartment, entry.line1.left(kLine1Length));
        page.Edit2Change(entry.apartment, entry.line2.left(kLine2Length));
    }
    DocumentFields fields = readFields();
    fields.intro = parse.list->intro;
    fields.timeIndex = parse.list->timeIndex;
    showFields(fields);
    list.setEnabled(true);
    showPage(0);
    return true;
}

bool FileCommands::Zapisz1Click()
{
    // After an Import the current file is the older list: writing the directory
    // format over it would destroy it for the releases that read it.
    if (!bylZapis_ || fromList_)
        return Zapiszjako1Click();
    const QString question =
        QStringLiteral("Nadpisać istniejący plik:  ") + nazwa_ + QStringLiteral(" ?");
    if (!sink_.askYesNo(question, QString()))
        return false;
    return Zapisz(sciezka_ + nazwa_);
}

bool FileCommands::Zapiszjako1Click()
{
    QString suggested;
    if (fromList_)
        suggested = sciezka_ + nazwa_.chopped(kListExtension.size()) + kDirectoryExtension;
    else if (bylZapis_)
        suggested = sciezka_ + nazwa_;
    QString path = dialogs_->saveFileName(kSaveFilter, suggested);
    if (path.isEmpty())
        return false;
    if (fileExtension(path) != kDirectoryExtension)
        path += kDirectoryExtension;
    if (!Zapisz(path))
        return false;
    takeFile(path, false);
    saveEnabled_ = true;
    return true;
}

bool FileCommands::Zapisz(const QString& path)
{
    const QByteArray bytes = directoryFileBytes(document());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        showFileError(true, path, file.errorString());
        return false;
    }
    return true;
}

QString FileCommands::chooseFile(const QString& filter, const QString& extension)
{
    const QString path = dialogs_->openFileName(filter, sciezka_);
    if (!path.isEmpty() && fileExtension(path) != extension) {
        sink_.showMessage(texts_.text(textkey::kWrongFile));
        return QString();
    }
    return path;
}

std::optional<QByteArray> FileCommands::readFile(const QString& path, qsizetype limit)
{
    // One byte past the limit is enough for the reader to see that a file is too
    // large, and a file of any size never has to fit into memory.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.read(limit + 1);
        if (file.error() == QFileDevice::NoError)
            return bytes;
    }
    showFileError(false, path, file.errorString());
    return std::nullopt;
}

void FileCommands::takeFile(const QString& path, bool list)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    sciezka_ = path.left(slash + 1);
    nazwa_ = path.mid(slash + 1);
    bylZapis_ = true;
    fromList_ = list;
    caption_ = kApplicationTitle + kCaptionSeparator + path;
}

void FileCommands::showPage(int selectorIndex)
{
    if (selectPage)
        selectPage(selectorIndex);
    else
        editor_.page().RadioGroup_StrefaClick(selectorIndex);
}

void FileCommands::showFileError(bool saving, const QString& path, const QString& reason)
{
    static const QString kOpening[] = {QStringLiteral("Nie można otworzyć pliku:"),
                                       QStringLiteral("Cannot open the file:"),
                                       QStringLiteral("Die Datei kann nicht geöffnet werden:")};
    static const QString kSaving[] = {QStringLiteral("Nie można zapisać pliku:"),
                                      QStringLiteral("Cannot save the file:"),
                                      QStringLiteral("Die Datei kann nicht gespeichert werden:")};
    const int language = std::clamp(texts_.Nr_Jezyka(), 0, 2);
    sink_.showMessage((saving ? kSaving : kOpening)[language] + u'\n'
                      + QDir::toNativeSeparators(path) + u'\n' + reason);
}

} // namespace q540
