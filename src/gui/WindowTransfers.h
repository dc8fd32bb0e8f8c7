#pragma once

#include "directory/IntroScreens.h"
#include "module/DirectoryVerify.h"
#include "module/ModuleCompare.h"
#include "module/TransferSession.h"

#include <functional>

class QWidget;

namespace q540 {

class DirectoryEditor;
class Localisation;
class ModuleMonitor;
class UserSink;
class ZonePages;
struct ModuleStatus;

// A transfer over the module status it is given, with the typed password.
using StatusTransfer =
    std::function<void(const TransferContext&, const QString& password, ModuleStatus& status)>;

// What a window's transfer left: whether it stopped the poll (only then does
// the status it worked on replace the poll's), and the alphabetical-search
// tick at that moment, so the window can follow a change.
struct StatusTransferEnd {
    bool pollStopped = false;
    bool alphabeticalSearchBefore = false;
};

// Runs a transfer on a worker over a copy of the module status taken when the
// transfer stops the poll, not when it was asked for: the poll goes on during
// a question (the erase question) and may meanwhile have found another
// module. The intro time is the window's own selection. A transfer that
// never stopped the poll leaves the poll's status alone.
StatusTransferEnd runStatusTransfer(QWidget& window, UserSink& sink, ModuleMonitor& monitor,
                                    const Localisation& texts, int introTimeIndex,
                                    const StatusTransfer& transfer);

// What a window's directory write left: the outcome, what was sent, and with
// verify the comparison (only after a write that went through).
struct WindowWrite {
    Outcome outcome = Outcome::failed();
    WrittenBlocks written;
    std::optional<VerifyResult> verified;
};

// What a window's directory read left: the outcome, and whether it changed
// the directory.
struct WindowRead {
    Outcome outcome = Outcome::failed();
    bool changed = false;
};

// The module transfers as the main window runs them: each on a worker over
// the module status, with the window's directory and intro page. Each
// returns whether it changed the directory or the intro lines.
class WindowTransfers {
public:
    WindowTransfers(QWidget& window, UserSink& sink, const Localisation& texts,
                    DirectoryEditor& editor, ZonePages& pages);

    WindowWrite writeDirectory(ModuleMonitor& monitor, bool verify);
    // Writes the differing positions again, then compares the whole write again.
    VerifyResult writeAgain(ModuleMonitor& monitor, const WrittenBlocks& written,
                            const std::vector<BlockDifference>& differences);
    WindowRead readDirectory(ModuleMonitor& monitor);
    // The directory, the intro screens and the settings, for a compare or a
    // copy kept before a write; the window's directory is not touched.
    ModuleContentsRead readContents(ModuleMonitor& monitor);
    // With verify, the screens and the time are read back and compared.
    void writeIntro(ModuleMonitor& monitor, bool verify);
    bool readIntro(ModuleMonitor& monitor);

private:
    void run(ModuleMonitor& monitor, const StatusTransfer& transfer);

    QWidget& window_;
    UserSink& sink_;
    const Localisation& texts_;
    DirectoryEditor& editor_;
    ZonePages& pages_;
};

} // namespace q540
