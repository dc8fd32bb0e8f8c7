#pragma once

#include "base/Outcome.h"
#include "directory/NameList.h"
#include "module/TransferSession.h"

#include <QString>

#include <functional>

#include <vector>

namespace q540 {

struct ModuleStatus;

// "Zapisz" of the name list (Button0Click): sends every row of the name list,
// in list order, as one 32-byte block at positions 0.., with the
// configuration in the zone bytes of the first sixteen, or offers to erase
// the module when the list is empty. rows and typedPassword are the caller's
// copies; status is identified afresh and left as that identification found
// it. Every outcome is told through the context's sink and returned.
using WrittenBlocks = std::vector<std::array<protocol::Byte, protocol::kBlockSize>>;
struct WriteOptions {
    // Runs right after the identification and may replace the settings it
    // took from the module (intro time, reset lock, alphabetical search,
    // language) before the configuration is built from them.
    std::function<void(ModuleStatus&)> chooseSettings{};
    // Receives every entry block as it went over the cable, for a
    // verification afterwards.
    WrittenBlocks* written = nullptr;
    // A line added to the message of a write that went through: the
    // alphabetical order the rows were sorted in, when worth naming.
    QString note{};
};
Outcome Button0Click(const TransferContext& context, const std::vector<NameRow>& rows,
                     const QString& typedPassword, ModuleStatus& status,
                     const WriteOptions& options = {});

} // namespace q540
