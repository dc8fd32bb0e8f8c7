#pragma once

#include "base/Outcome.h"
#include "module/Configuration.h"
#include "module/DirectoryWrite.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace q540 {

// A position whose block in the module is not what was written there.
struct BlockDifference {
    int position = 0;
    std::array<protocol::Byte, protocol::kBlockSize> written{};
    std::array<protocol::Byte, protocol::kBlockSize> held{};
};

struct VerifyResult {
    // Done when every position and the configuration were read back and
    // compared, whatever it found.
    Outcome outcome = Outcome::failed();
    std::vector<BlockDifference> differences;
    std::vector<ConfigurationDifference> configuration;

    bool matches() const { return differences.empty() && configuration.empty(); }
    int differenceCount() const { return int(differences.size() + configuration.size()); }
};

// Reads back the configuration block and every position a directory write
// sent, and compares them with what was sent, byte for byte: module codes,
// apartment and zone byte (a text byte the module returns as 255, unwritten
// memory, is the space it shows), and every setting of the configuration.
// The protocol's data blocks carry no check byte, so this is the only way to
// know the module holds what was sent. The password is not a gate here: the
// write has just confirmed it, and a module that holds another one now is a
// difference to report and mend, not a reason to stop looking.
VerifyResult verifyDirectory(const TransferContext& context, const WrittenDirectory& written,
                             const QString& typedPassword, ModuleStatus& status);

// Writes the blocks of the differing positions again, as they were written,
// and the configuration on its own when it differed. Done when all went.
struct WriteAgainResult {
    Outcome outcome = Outcome::failed();
    int rewritten = 0; // differing positions written again before it stopped
};
WriteAgainResult writeAgain(const TransferContext& context, const WrittenDirectory& written,
                            const VerifyResult& found, const QString& typedPassword,
                            ModuleStatus& status);

// "zone 2, apartment 17: written "Nowak Jan", the module holds "Nowak Jam"",
// in a program language (0..2); every field that differs is named: the text,
// the apartment number, the zone.
QString differenceText(const BlockDifference& difference, int language);
// Every difference of a verification, one line each, entries first.
QStringList differenceLines(const VerifyResult& found, int language);

} // namespace q540
