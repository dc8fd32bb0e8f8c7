#pragma once

#include "files/DirectoryFile.h"
#include "files/SafeFile.h"

#include <optional>

namespace q540 {

// A directory file read from disk, for the window's Open and the CLI alike:
// the document, or why not, with the values that were cut.
struct DirectoryFileLoad {
    std::optional<DirectoryDocument> document;
    std::optional<FileFailure> failure;      // the file could not be read
    FileProblem problem = FileProblem::None; // it was read but is not a directory file
    ReadNotes notes;
};

DirectoryFileLoad loadDirectoryFile(const QString& path);

// A document saved through the safe save: the whole file, or the old one
// unchanged and why. Saved, it comes back as the file now holds it (a
// semicolon as a comma), so that what is shown is what was saved.
struct DirectoryFileSave {
    std::optional<FileFailure> failure;
    std::optional<DirectoryDocument> saved;
};

DirectoryFileSave saveDirectoryFile(const QString& path, const DirectoryDocument& document);

} // namespace q540
