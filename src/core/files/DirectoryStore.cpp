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

std::optional<FileFailure> saveDirectoryFile(const QString& path, const DirectoryDocument& document)
{
    return saveFileSafely(path, directoryFileBytes(document));
}

} // namespace q540
