#include "files/DirectoryStore.h"

namespace q540 {

DirectoryFileLoad loadDirectoryFile(const QString& path)
{
    DirectoryFileLoad load;
    FileRead read = readWholeFile(path, kDirectoryFileMaxSize);
    if (!read.bytes) {
        load.failure = std::move(read.failure);
        return load;
    }
    DirectoryFileParse parse = parseDirectoryFile(*read.bytes);
    load.document = std::move(parse.document);
    load.problem = parse.problem;
    load.notes = std::move(parse.notes);
    return load;
}

DirectoryFileSave saveDirectoryFile(const QString& path, const DirectoryDocument& document)
{
    const QByteArray bytes = directoryFileBytes(document);
    DirectoryFileSave save;
    save.failure = saveFileSafely(path, bytes);
    if (!save.failure)
        save.saved = parseDirectoryFile(bytes).document;
    return save;
}

} // namespace q540
