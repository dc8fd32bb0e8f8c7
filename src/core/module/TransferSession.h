#pragma once

#include "base/FixedTexts.h"
#include "module/ModuleOperation.h"
#include "protocol/CellBlock.h"
#include "protocol/Protocol.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace q540 {

class Clock;
class Link;
class Localisation;
struct ModuleStatus;
class UserSink;

// What a transfer talks through. Nothing in it belongs to a window: the GUI
// runs a transfer on a worker thread, so the sink and the poll control are
// called on that thread and forward to the window's thread themselves. The
// texts are only read.
struct TransferContext {
    Link& link;
    Clock& clock;
    UserSink& sink;
    PollControl& poll;
    const Localisation& texts;
};

// One directory or intro transfer from the poll's stop to its restart, with
// the exchanges every transfer is made of. Whichever way the transfer ends,
// the destructor closes the device, hides a progress bar still shown and
// starts the poll again, in that order.
class TransferSession {
public:
    explicit TransferSession(const TransferContext& context);
    ~TransferSession();
    TransferSession(const TransferSession&) = delete;
    TransferSession& operator=(const TransferSession&) = delete;

    // The fresh identification the directory transfers start with: a pause
    // for a poll that may still be finishing, then the configuration read
    // again. False, with the transmission error shown, when a module that
    // was present did not send its configuration: the transfer would work
    // with a stale entry count and password match.
    bool identifyAgain(ModuleStatus& status, const QString& typedPassword);

    // The checks of ModuleOperation::begin; on success the device is open.
    bool begin(bool modulePresent, bool passwordMatches, int timeoutMs);

    // The progress bar, with the time left estimated from the blocks done.
    void showProgress(int maximum);
    void stepProgress();
    // The user asked to stop: checked before each block, so the block in
    // flight is finished first.
    bool cancelRequested();
    // How a write that stopped after `written` of `total` blocks ends: the
    // device closed, the progress hidden, and what the module now holds said
    // (after "cancelled" when the user stopped it).
    void endWrite(bool cancelled, int written, int total, FixedText holds, FixedText nothing);
    // A read the user stopped: nothing of it is kept.
    void endCancelledRead();

    // Bytes (a frame, or data after an acknowledged frame) and their
    // acknowledgement. On failure the device is closed and the transmission
    // error shown.
    bool sendAcknowledged(std::span<const protocol::Byte> bytes);
    // A frame and the data block it announces, each acknowledged.
    bool writeBlock(const protocol::Frame& frame, std::span<const protocol::Byte> data);
    // Bytes that no reply follows.
    void sendUnacknowledged(std::span<const protocol::Byte> bytes);
    // A block read: the frame, then the 32 bytes and the end byte into cellBlock.
    bool receiveBlock(const protocol::Frame& frame, CellBlock& cellBlock);

    // The ending of a transfer that went through: the device closed, the
    // progress bar hidden, then the final message if there is one.
    void finish(const QString& message = {});

    Link& link() { return context_.link; }
    Clock& clock() { return context_.clock; }
    UserSink& sink() { return context_.sink; }
    const Localisation& texts() const { return context_.texts; }
    int languageIndex() const;

private:
    void closeAndHide();

    TransferContext context_;
    ModuleOperation operation_;
    bool progressShown_ = false;
    int progressMaximum_ = 0;
    int progressDone_ = 0;
    std::int64_t progressStartMs_ = 0;
    std::optional<int> lastSecondsLeft_;
};

// The low bytes of cellBlock, as they go over the cable.
std::array<protocol::Byte, protocol::kBlockSize> blockBytes(const CellBlock& cellBlock);

} // namespace q540
