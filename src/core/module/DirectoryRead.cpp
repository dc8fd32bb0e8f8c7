#include "module/DirectoryRead.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "directory/DirectoryEditor.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

#include <algorithm>
#include <cmath>

namespace q540 {

using namespace protocol;

namespace {

constexpr int kZoneCodeMask = 7;
constexpr int kAdditionalNumberCode = 4;
// fromModuleCodes's template is longer than the text it replaces.
constexpr int kReadTemplateLength = 35;

// The grid row a received block names, or 0 for a block that names none: an
// apartment 0, a zone code 5..7, or an additional number above 8, which
// would lie outside the grid.
int targetRow(const CellBlock& cellBlock)
{
    const int apartment = cellBlock[kApartmentByte];
    const int zoneCode = cellBlock[kZoneByte] & kZoneCodeMask;
    if (apartment == 0 || zoneCode > kAdditionalNumberCode)
        return 0;
    if (zoneCode < kAdditionalNumberCode)
        return zoneRow(zoneCode, apartment);
    return apartment <= kAdditionalNumberCount ? additionalNumberRow(apartment) : 0;
}

bool storeBlock(DirectoryGrid& grid, CellBlock& cellBlock)
{
    const int row = targetRow(cellBlock);
    if (row == 0)
        return false;
    const QString text =
        fromModuleCodes(cellBlock, QString(kReadTemplateLength, u' '), kTextLength);
    for (int column = 1; column <= kEntryTextLength; ++column)
        grid.setCell(row, column, Cell(text.at(column - 1)));
    return true;
}

// An erase leaves one block of 30 spaces for apartment 1 of zone 1. All 30
// cells are asked for, not only the first, so that a real entry whose line 1
// begins with a space is not taken for it.
bool holdsOnlyEraseBlank(const DirectoryGrid& grid, int last)
{
    if (last != 0)
        return false;
    for (int column = 1; column <= kEntryTextLength; ++column) {
        if (!grid.cell(zoneRow(0, 1), column).isSpace())
            return false;
    }
    return true;
}

void emptyDirectory(DirectoryGrid& grid, ModuleStatus& status)
{
    grid.clearEntries();
    status.entryCount = 0;
}

using Ending = DirectoryReadResult::Ending;

// Reads positions 0..last into grid: Interrupted when a block did not
// arrive, InvalidBlock when any block named no row, otherwise Completed.
Ending readEntries(TransferSession& session, int last, DirectoryGrid& grid, ModuleStatus& status)
{
    bool invalidBlock = false;
    for (int p = 0; p <= last; ++p) {
        if (session.cancelRequested())
            return Ending::Cancelled;
        CellBlock cellBlock{};
        if (!session.receiveBlock(blockReadFrame(p), cellBlock))
            return Ending::Interrupted;
        if (!storeBlock(grid, cellBlock)) {
            // Later blocks still arrive into the emptied directory.
            session.sink().showMessage(session.texts().text(textkey::kReadError));
            invalidBlock = true;
            emptyDirectory(grid, status);
        }
        session.stepProgress();
    }
    return invalidBlock ? Ending::InvalidBlock : Ending::Completed;
}

} // namespace

DirectoryReadResult receiveDirectory(const TransferContext& context, const DirectoryGrid& current,
                                     const QString& typedPassword, ModuleStatus& status)
{
    DirectoryReadResult result;
    TransferSession session(context);
    status.alphabeticalSearchRead = ModuleStatus::kAlphabeticalSearchUnknown;
    if (!session.identifyAgain(status, typedPassword))
        return result;
    if (!session.begin(status.modulePresent(), status.passwordConfirmed(), kTransferTimeoutMs)) {
        result.outcome = Outcome::notBegun(status.modulePresent(), status.passwordConfirmed());
        return result;
    }

    result.grid = current;
    result.grid.clearEntries();
    const int last = std::min(status.entryCount - 1, kEntryCapacity - 1);
    session.showProgress(last);
    result.ending = readEntries(session, last, result.grid, status);
    if (result.ending == Ending::Cancelled) {
        result.grid = current; // nothing read is kept
        session.endCancelledRead();
        result.outcome = Outcome::cancelled();
        return result;
    }
    if (result.ending != Ending::Completed)
        return result;
    result.outcome = Outcome::done();
    session.finish();
    if (holdsOnlyEraseBlank(result.grid, last)) {
        result.ending = Ending::ErasedModule;
        context.sink.showMessage(context.texts.text(textkey::kNoEntries));
        emptyDirectory(result.grid, status);
    } else {
        context.sink.showMessage(context.texts.text(textkey::kDataRead));
    }
    return result;
}

bool applyDirectoryRead(const DirectoryReadResult& result, DirectoryEditor& editor)
{
    if (result.ending == DirectoryReadResult::Ending::Refused
        || result.ending == DirectoryReadResult::Ending::Cancelled)
        return false;
    editor.grid() = result.grid;
    editor.page().refresh();
    return true;
}

} // namespace q540

namespace q540 {

int directoryReadSeconds(int entries)
{
    using namespace protocol;
    constexpr int kBitsPerByte = 10; // start, eight data bits, stop
    // The reply is the block and its check byte.
    constexpr int kBytesPerBlock = int(std::tuple_size_v<Frame>) + kBlockSize + 1;
    constexpr double kBlockMs =
        1000.0 * kBytesPerBlock * kBitsPerByte / kBaudRate + kLatencyTimerMs;
    return static_cast<int>(std::ceil(entries * kBlockMs / 1000.0));
}

} // namespace q540
