#pragma once

#include "emulator/Transcript.h"
#include "protocol/Protocol.h"

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace q540 {
class Clock;
}

namespace q540::sim {

enum class FaultKind {
    None,
    NoReply,             // nothing is sent back, not even the acknowledgement after data
    WrongByte,           // the first byte of each reply is replaced by another value
    ShortReply,          // the last byte of each reply is missing
    BadCheckByte,        // the last byte of each reply (check byte or end byte) is altered
    DataNotAcknowledged, // a frame that announces data is acknowledged, its data block is not
};

// A byte-level model of the door module behind the cable: its 1024 blocks of
// memory, the configuration nibbles kept in the zone bytes of blocks 0..15, the
// intro time register and the language code bytes. It parses the host's bytes as
// a stream, so frames and data may arrive split or joined across write calls,
// queues every reply at once, and records each call in a transcript. Faults
// change only what the module sends back; its memory is updated as without them.
//
// All members are thread-safe: a poll worker and a test may share one module.
class ModuleEmulator {
public:
    ModuleEmulator();
    ModuleEmulator(const ModuleEmulator&) = delete;
    ModuleEmulator& operator=(const ModuleEmulator&) = delete;

    // The device side, as a driver sees it.

    // Fails when the cable is unplugged, the device is already open, or the
    // description is not the cable's.
    bool open(const QByteArray& description);
    // Drops unread replies and any half-received frame or data block.
    void close();
    bool isOpen() const;
    void setBaudRate(int baud);
    void setTimeouts(int readMs, int writeMs);
    // Frames and data blocks from the host. Ignored while the device is closed.
    void hostWrite(std::span<const std::uint8_t> bytes);
    // Takes up to buffer.size() queued reply bytes.
    std::size_t hostRead(std::span<std::uint8_t> buffer);
    std::size_t pendingReplyBytes() const;

    // The module's state.

    void setDeviceCode(std::uint8_t code);
    void setPlugged(bool plugged);
    // Positions outside 0..1023 throw std::out_of_range.
    std::array<std::uint8_t, protocol::kBlockSize> block(int position) const;
    void setBlock(int position, const std::array<std::uint8_t, protocol::kBlockSize>& bytes);

    // Nibble i (0..15) is the high half of byte 31 of block i; another i throws
    // std::out_of_range.
    int configurationNibble(int i) const { return field({4 * i, 4}); }
    void setConfigurationNibble(int i, int value) { setField({4 * i, 4}, value); }

    int entryCount() const { return field(kCountField) + 1; }
    void setEntryCount(int count) { setField(kCountField, count - 1); }
    int passwordFirstHalf() const { return field(kPasswordFirstField); }
    void setPasswordFirstHalf(int value) { setField(kPasswordFirstField, value); }
    int passwordSecondHalf() const { return field(kPasswordSecondField); }
    void setPasswordSecondHalf(int value) { setField(kPasswordSecondField, value); }
    bool resetAllowed() const { return field(kResetAllowedField) != 0; }
    void setResetAllowed(bool allowed) { setField(kResetAllowedField, allowed ? 1 : 0); }
    int languageCode() const { return field(kLanguageField); }
    void setLanguageCode(int code) { setField(kLanguageField, code); }
    int variantDigit() const { return field(kVariantField); }
    void setVariantDigit(int digit) { setField(kVariantField, digit); }
    bool alphabeticalSearch() const { return field(kAlphabeticalSearchField) != 0; }
    void setAlphabeticalSearch(bool on) { setField(kAlphabeticalSearchField, on ? 1 : 0); }

    // The register that the intro-time query answers. The module keeps the
    // intro time once: the intro-time write sets it and its nibble, and a
    // configuration the host writes (in blocks 0..15 or on its own) sets it
    // from nibble 11. This setter is the tests' way to any byte.
    std::uint8_t introTime() const;
    void setIntroTime(std::uint8_t seconds);
    // The two code bytes that follow the language code in the language reply.
    void setLanguageCodeBytes(std::uint8_t a, std::uint8_t b);

    // Fault injection. An exchange is one command frame with a good check byte;
    // the fault covers exchanges afterExchanges .. afterExchanges + times - 1
    // counted from the next one (times -1: for ever). Of overlapping faults the
    // one injected first applies.
    void injectFault(FaultKind kind, int afterExchanges = 0, int times = -1);
    // A module whose memory keeps one block wrongly: every write to position
    // is acknowledged as usual, but the stored copy has its first byte
    // changed, as a failing memory cell or a byte damaged on the wire would
    // leave it. -1 clears it.
    void corruptStoredBlock(int position)
    {
        std::lock_guard lock(mutex_);
        corruptPosition_ = position;
    }
    // A module that keeps one bit of its configuration wrongly: whenever the
    // host writes the configuration (on its own, or the block of the bit's
    // nibble), bit (0..63, as in Field) is stored inverted. -1 clears it.
    void corruptStoredConfigurationBit(int bit)
    {
        std::lock_guard lock(mutex_);
        corruptConfigurationBit_ = bit;
    }
    // A module that answers the password, language and reset-lock commands
    // as usual but keeps its old settings.
    void ignoreSettingChanges(bool ignore)
    {
        std::lock_guard lock(mutex_);
        ignoreSettingChanges_ = ignore;
    }
    void clearFaults();
    int exchangeCount() const;

    // The clock whose time stamps each transcript entry, so that a test sees
    // every pause and timeout of the host; none by default.
    void setClock(const q540::Clock* clock);

    std::vector<TranscriptEntry> transcript() const;
    void clearTranscript();
    QByteArray sentBytes() const;     // every HostToModule entry, joined
    QByteArray receivedBytes() const; // every ModuleToHost entry, joined

private:
    using Block = std::array<std::uint8_t, protocol::kBlockSize>;

    // A setting among the 64 bits of the sixteen nibbles, read as one little-endian
    // number: bit b is bit b mod 4 of nibble b div 4. Fields may cross nibbles.
    struct Field {
        int firstBit;
        int bitCount;
    };
    static constexpr Field kCountField{0, 12}; // entry count - 1
    static constexpr Field kPasswordFirstField{12, 8};
    static constexpr Field kPasswordSecondField{20, 7};
    static constexpr Field kResetAllowedField{27, 1};
    static constexpr Field kLanguageField{28, 4};
    static constexpr Field kVariantField{36, 4};
    static constexpr Field kIntroTimeField{44, 4};
    static constexpr Field kAlphabeticalSearchField{51, 1};

    // What the module does with the data block that follows an acknowledged frame.
    enum class DataTarget { Block, Configuration, IntroTime, Password };
    struct ExpectedData {
        DataTarget target;
        int position; // DataTarget::Block only
        std::size_t length;
        int exchange; // the frame's exchange, so that a fault covers the reply to the data too
    };
    struct Fault {
        FaultKind kind;
        int first;
        int times;
    };

    void takeByte(std::uint8_t byte);
    void answerFrame(std::uint8_t command, std::uint8_t parameter, int exchange);
    void expectData(DataTarget target, int position, std::size_t length, int exchange);
    void storeData();
    void invertConfigurationBit();
    void acknowledgeData(int exchange);
    void queueReply(std::vector<std::uint8_t> reply, int exchange);
    void queueStatusReply(std::vector<std::uint8_t> values, int exchange);
    FaultKind faultFor(int exchange) const;
    int field(Field f) const;
    void setField(Field f, int value);
    int fieldLocked(Field f) const;
    void setFieldLocked(Field f, int value);
    void record(TranscriptEntry entry);
    void resetStream();

    mutable std::mutex mutex_;
    std::vector<Block> memory_;
    std::uint8_t deviceCode_;
    bool plugged_ = true;
    bool open_ = false;
    std::uint8_t introTime_ = 2;
    std::uint8_t codeByteA_ = 0;
    std::uint8_t codeByteB_ = 0;

    std::vector<std::uint8_t> frame_;
    std::optional<ExpectedData> expected_;
    std::vector<std::uint8_t> data_;
    std::deque<std::uint8_t> replies_;

    std::vector<Fault> faults_;
    int exchanges_ = 0;
    int corruptPosition_ = -1;
    int corruptConfigurationBit_ = -1;
    bool ignoreSettingChanges_ = false;
    std::vector<TranscriptEntry> transcript_;
    const q540::Clock* clock_ = nullptr;
};

} // namespace q540::sim
