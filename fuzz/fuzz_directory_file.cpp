// Any bytes given to the directory file reader: no crash, no sanitizer report, and
// whatever it accepts writes back into a file of allowed size that reads back the same.
#include "files/DirectoryFile.h"

#include <cstddef>
#include <cstdint>

using namespace q540;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const DirectoryFileParse parse = parseDirectoryFile(bytes);
    if (parse.document.has_value() != (parse.problem == FileProblem::None))
        __builtin_trap();
    if (!parse.document)
        return 0;
    const QByteArray written = directoryFileBytes(*parse.document);
    if (written.size() < kDirectoryFileMinSize || written.size() > kDirectoryFileMaxSize)
        __builtin_trap();
    const DirectoryFileParse again = parseDirectoryFile(written);
    if (!again.document || !(*again.document == *parse.document))
        __builtin_trap();
    return 0;
}
