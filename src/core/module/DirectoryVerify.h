#pragma once

#include "base/Outcome.h"
#include "module/DirectoryWrite.h"

#include <QString>

#include <vector>

namespace q540 {

// A position whose block in the module is not what was written there.
struct BlockDifference {
    int position = 0;
    std::array<protocol::Byte, protocol::kBlockSize> written{};
    std::array<protocol::Byte, protocol::kBlockSize> held{};
};

struct VerifyResult {
    // Done when every position was read back and compared, whatever it found.
    Outcome outcome = Outcome::failed();
    std::vector<BlockDifference> differences;
};

// Reads back every position a directory write sent (0 .. written.size() - 1)
// and compares the module's bytes with those sent, byte for byte: module
// codes, apartment and zone byte (a text byte the module returns as 255,
// unwritten memory, is the space it shows). The protocol's data blocks carry
// no check byte, so this is the only way to know the module holds what was
// sent. The outcome is told through the sink.
VerifyResult verifyDirectory(const TransferContext& context, const WrittenBlocks& written,
                             const QString& typedPassword, ModuleStatus& status);

// Writes the blocks of the differing positions again, as they were written.
Outcome writeAgain(const TransferContext& context, const std::vector<BlockDifference>& differences,
                   const QString& typedPassword, ModuleStatus& status);

// "zone 2, apartment 17: written "Nowak Jan", the module holds "Nowak Jam"",
// in a program language (0..2).
QString differenceText(const BlockDifference& difference, int language);

} // namespace q540
