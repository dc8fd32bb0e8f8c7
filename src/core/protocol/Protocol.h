#pragma once

// The module's command protocol: every constant that goes over the cable or
// shapes an exchange, by name. Operations use these names, never bare numbers.

#include "base/ModuleCapacity.h"

#include <array>
#include <cstdint>
#include <span>

namespace q540::protocol {

using Byte = std::uint8_t;

// The cable's USB description; the D2XX backend opens the device by it.
inline constexpr char kDeviceDescription[] = "VELKOR";
inline constexpr std::uint32_t kOpenByDescription = 2;

inline constexpr int kBaudRate = 9600;
// The latency timer the program asks the cable's chip for: a short reply
// reaches the PC after this many milliseconds instead of the chip's 16. The
// chip's timer starts again with every packet it sends, and the program
// answers each reply at once, so every acknowledgement meets the timer at
// the same point of its period: at 2 ms a full write takes 43.4 s on the
// modelled cable, at 1 ms 41.3 s. The kernel's FTDI driver uses 1 ms for a
// low-latency port too, so both backends run the chip alike.
inline constexpr int kLatencyTimerMs = 1;
// Read and write timeouts (both equal) of the two kinds of exchange.
inline constexpr int kShortTimeoutMs = 300;    // status poll, intro screens, settings
inline constexpr int kTransferTimeoutMs = 200; // directory write and read

inline constexpr Byte kEndByte = 245;
inline constexpr Byte kStatusReplyStart = 31;
// A byte 255 in a text position is unwritten memory and stands for a space.
inline constexpr Byte kUnwrittenByte = 255;

inline constexpr int kAckReadAttempts = 10;  // one-byte reads while waiting for kEndByte
inline constexpr int kDataReplyAttempts = 5; // whole-reply reads of a data reply

// Module memory: 1024 blocks of 32 bytes; 0..1019 entries, 1020..1023 intro screens.
inline constexpr int kBlockSize = 32;
inline constexpr int kBlockCount = 1024;
using q540::kEntryCapacity;
using q540::kIntroScreenCount;
inline constexpr int kFirstIntroPosition = kEntryCapacity;
static_assert(kFirstIntroPosition + kIntroScreenCount == kBlockCount);
inline constexpr int kBankSize = 256;
inline constexpr int kConfigurationSize = 16; // zone bytes of positions 0..15
inline constexpr int kTextLength = 30;        // text positions of an entry block
inline constexpr int kApartmentByte = 30;
inline constexpr int kZoneByte = 31;

// Device codes of the hello reply.
inline constexpr Byte kDeviceCodeQ540 = 70;
inline constexpr Byte kDeviceCodeVersion43 = 43;

struct Command {
    Byte command;
    Byte parameter;
    friend constexpr bool operator==(Command, Command) = default;
};

// The command table, by operation.
inline constexpr Command kHello{17, 22};
inline constexpr Command kReadConfiguration{13, 1};
inline constexpr Command kWriteConfiguration{13, 2};
inline constexpr Command kWriteIntroTime{13, 3};
inline constexpr Command kWritePassword{13, 4};
inline constexpr Command kResetLockOn{13, 127};
inline constexpr Command kResetLockOff{13, 128};
inline constexpr Command kReadLanguage{14, 0};
inline constexpr Byte kWriteLanguageCommand = 14; // parameter: the language code 1..7
inline constexpr Command kReadIntroTime{29, 200};
inline constexpr Command kCloseIntroWrite{17, 17};

// Bank b (position div 256) selects the command byte; position mod 256 is the parameter.
inline constexpr std::array<Byte, 4> kBankWriteCommands{22, 24, 25, 26};
inline constexpr std::array<Byte, 4> kBankReadCommands{23, 111, 112, 113};

// The installer password a module leaves the factory with, and the program's default.
inline constexpr char kDefaultPassword[] = "8264";

// Sleeps between writing a frame and reading its reply, and the other fixed pauses.
inline constexpr int kHelloReplyDelayMs = 5;
inline constexpr int kConfigurationReadPauseMs = 200; // before 13,1 after a good hello
inline constexpr int kConfigurationReplyDelayMs = 2;
inline constexpr int kPasswordReplyDelayMs = 5;
inline constexpr int kLanguageReplyDelayMs = 10;
inline constexpr int kLanguageWriteCloseDelayMs = 200;
inline constexpr int kIdentificationSettleMs = 100;   // after a transfer's identification
inline constexpr int kConfigurationWritePauseMs = 20; // after the configuration block
// Before a settings change is confirmed by reading the configuration again:
// the module stores the change before it answers a new frame.
inline constexpr int kConfirmationSettleMs = 100;
inline constexpr int kIntroScreenPauseMs = 100; // around each intro screen
// Lets a poll that started before an operation stopped it release the device.
inline constexpr int kPollSettleMs = 200;
// The status poll's interval, and the pause after the password field is edited.
inline constexpr int kPollIntervalMs = 1500;
inline constexpr int kPasswordEntryPauseMs = 300;

// Lengths of the replies.
inline constexpr int kHelloReplyLength = 3;
inline constexpr int kConfigurationReplyLength = kConfigurationSize + 1;
inline constexpr int kLanguageReplyLength = 5;
inline constexpr int kIntroTimeReplyLength = 3;

// The module's display languages by code, 1 (PL) .. 7 (RU); code 0 names none.
inline constexpr std::array<const char*, 8> kLanguageNames{"",   "PL", "EN", "NO",
                                                           "SV", "DE", "CS", "RU"};
inline constexpr int kHighestLanguageCode = static_cast<int>(kLanguageNames.size()) - 1;

// The name of a language code, empty for 0 and for codes the module has no language of.
constexpr const char* languageName(int code)
{
    return code < 0 || code > kHighestLanguageCode ? ""
                                                   : kLanguageNames[static_cast<std::size_t>(code)];
}

// The largest value a configuration nibble holds.
inline constexpr int kHighestNibble = 15;

using Frame = std::array<Byte, 3>;

// The check byte of a frame or status reply: the sum of the bytes before it plus one, mod 256.
constexpr Byte checkByte(std::span<const Byte> bytes)
{
    unsigned sum = 1;
    for (Byte b : bytes)
        sum += b;
    return static_cast<Byte>(sum & 0xFF);
}

constexpr Frame frame(Byte command, Byte parameter)
{
    const std::array<Byte, 2> head{command, parameter};
    return {command, parameter, checkByte(head)};
}

constexpr Frame frame(Command c)
{
    return frame(c.command, c.parameter);
}

// The write or read frame of a block position 0..1023.
constexpr Frame blockWriteFrame(int position)
{
    return frame(kBankWriteCommands[static_cast<std::size_t>(position / kBankSize)],
                 static_cast<Byte>(position % kBankSize));
}

constexpr Frame blockReadFrame(int position)
{
    return frame(kBankReadCommands[static_cast<std::size_t>(position / kBankSize)],
                 static_cast<Byte>(position % kBankSize));
}

// A status reply counts only when it starts with 31 and its last byte checks.
constexpr bool isValidStatusReply(std::span<const Byte> reply)
{
    return reply.size() >= 3 && reply.front() == kStatusReplyStart
           && reply.back() == checkByte(reply.first(reply.size() - 1));
}

} // namespace q540::protocol
