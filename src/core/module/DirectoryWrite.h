#pragma once

#include "base/Outcome.h"
#include "directory/NameList.h"
#include "module/TransferSession.h"
#include "protocol/ConfigurationBlock.h"

#include <QString>

#include <functional>

#include <vector>

namespace q540 {

class Localisation;
struct ModuleStatus;
class UserSink;

// "Zapisz" of the name list (sendDirectory): sends every row of the name list,
// in list order, as one 32-byte block at positions 0.., with the
// configuration in the zone bytes of the first sixteen, or offers to erase
// the module when the list is empty. rows and typedPassword are the caller's
// copies; status is identified afresh and left as that identification found
// it. Every outcome is told through the context's sink and returned.
using WrittenBlocks = std::vector<std::array<protocol::Byte, protocol::kBlockSize>>;

// What a write sent: every entry block as it went over the cable, and the
// configuration that went with them (in the zone bytes of blocks 0..15, and
// on its own where fewer blocks were written).
struct WrittenDirectory {
    WrittenBlocks blocks;
    protocol::ConfigurationNibbles configuration{};

    // The sixteen zone bytes as the configuration write sends them: each
    // written block's zone code under its nibble, zone code 0 past the last.
    std::array<protocol::Byte, protocol::kConfigurationSize> configurationBytes() const;
    // Whether the configuration went on its own too: fewer than sixteen blocks.
    bool configurationOnItsOwn() const
    {
        return blocks.size() < std::size_t(protocol::kConfigurationSize);
    }
};

// Sends the configuration on its own, over the zone bytes of positions 0..15,
// on a session whose device is open.
bool writeConfigurationOnItsOwn(TransferSession& session, const WrittenDirectory& written);

struct WriteOptions {
    // Runs right after the identification and may replace the settings it
    // took from the module (intro time, reset lock, alphabetical search,
    // language) before the configuration is built from them.
    std::function<void(ModuleStatus&)> chooseSettings{};
    // Receives what went over the cable, for a verification afterwards.
    WrittenDirectory* written = nullptr;
    // A line added to the message of a write that went through: the
    // alphabetical order the rows were sorted in, when worth naming.
    QString note{};
    // The erase of an empty list was already agreed to: not asked again.
    bool eraseConfirmed = false;
};

// Whether the user agrees to erase the module's directory (the list is empty).
bool askToErase(UserSink& sink, const Localisation& texts);
Outcome sendDirectory(const TransferContext& context, const std::vector<NameRow>& rows,
                      const QString& typedPassword, ModuleStatus& status,
                      const WriteOptions& options = {});

} // namespace q540
