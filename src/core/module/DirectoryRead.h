#pragma once

#include "base/Outcome.h"
#include "directory/DirectoryGrid.h"
#include "module/TransferSession.h"

#include <QString>

namespace q540 {

class DirectoryEditor;
struct ModuleStatus;

// What a directory read leaves for the user-interface thread to apply.
struct DirectoryReadResult {
    enum class Ending {
        Refused,      // stopped before the directory was touched: grid is not used
        Completed,    // every block of the module's count was read
        Interrupted,  // a block did not arrive: grid holds the blocks read before it
        InvalidBlock, // a block named no row: grid holds the blocks after the last such one
        ErasedModule, // the module holds only the blank an erase leaves: grid is empty
        Cancelled,    // the user stopped it: grid is current, as it was
    };
    Ending ending = Ending::Refused;
    // The ending as every operation reports it: a refusal says why; an
    // interrupted read or an invalid block is a failure.
    Outcome outcome = Outcome::failed();
    DirectoryGrid grid;
};

// "Odczytaj" of the name list (receiveDirectory): identifies the module afresh
// (taking the alphabetical-search switch from it again) and reads its entry
// blocks 0 .. count - 1, at most 1020, each into the row its zone and
// apartment number name, on a copy of current emptied first. Messages go to
// the context's sink; status keeps what the identification found, and an
// entry count of "0" when the directory was emptied. The caller runs the
// alphabetical-search box's handler when the identification changed its tick.
DirectoryReadResult receiveDirectory(const TransferContext& context, const DirectoryGrid& current,
                                     const QString& typedPassword, ModuleStatus& status);

// Puts a read's grid into the editor and refills the page, which rebuilds the
// name list; a refused or cancelled read changes nothing (false). Runs on the
// thread that owns the editor, after the read.
bool applyDirectoryRead(const DirectoryReadResult& result, DirectoryEditor& editor);

// The whole seconds a read of so many entries takes at the wire's pace: each
// block's request and its reply at ten bits a byte, and the cable's latency
// timer once a block. The identification before it is left out.
int directoryReadSeconds(int entries);

} // namespace q540
