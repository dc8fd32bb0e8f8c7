// Any bytes given to the list file reader: no crash, no sanitizer report, and what it
// accepts keeps the rules of an import.
#include "files/ListFile.h"

#include <cstddef>
#include <cstdint>

using namespace q540;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ListFileParse parse = parseListFile(bytes);
    if (parse.list.has_value() != (parse.problem == FileProblem::None))
        __builtin_trap();
    if (!parse.list)
        return 0;
    int previous = 0;
    for (const ListEntry& entry : parse.list->entries) {
        if (entry.apartment <= previous || entry.apartment > kListFileEntryCount
            || entry.line1.isEmpty() || entry.line1.front() == u' ')
            __builtin_trap();
        previous = entry.apartment;
    }
    for (const QString& line : parse.list->intro) {
        if (line.size() > kIntroLineLength)
            __builtin_trap();
    }
    if (parse.list->timeIndex < kIntroTimeNone || parse.list->timeIndex >= kIntroTimeItemCount)
        __builtin_trap();
    return 0;
}
