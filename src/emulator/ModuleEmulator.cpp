#include "emulator/ModuleEmulator.h"

#include "device/Clock.h"
#include "protocol/Protocol.h"

#include <algorithm>
#include <stdexcept>

namespace q540::sim {

namespace protocol = q540::protocol;

namespace {

// Lengths of the data blocks that follow an acknowledged frame.
constexpr std::size_t kIntroTimeDataLength = 1;
constexpr std::size_t kPasswordDataLength = 2;
constexpr int kConfigurationBits = protocol::kConfigurationSize * 4;

// The value a faulty module sends instead of a byte: never the byte itself, and
// an acknowledgement turns into 0 rather than into a near miss.
std::uint8_t altered(std::uint8_t byte)
{
    return byte == protocol::kEndByte ? 0 : static_cast<std::uint8_t>(byte - 1);
}

QByteArray toByteArray(std::span<const std::uint8_t> bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// Nibble numbers come from callers; a wrong one must not reach other blocks' zone bytes.
void checkField(int firstBit, int bitCount)
{
    if (firstBit < 0 || bitCount <= 0 || firstBit + bitCount > kConfigurationBits)
        throw std::out_of_range("configuration nibble out of range");
}

std::size_t index(int position)
{
    return static_cast<std::size_t>(position);
}

} // namespace

ModuleEmulator::ModuleEmulator()
    : memory_(protocol::kBlockCount,
              [] {
                  Block b;
                  b.fill(protocol::kUnwrittenByte);
                  return b;
              }()),
      deviceCode_(protocol::kDeviceCodeQ540)
{
}

bool ModuleEmulator::open(const QByteArray& description)
{
    std::lock_guard lock(mutex_);
    const bool ok = plugged_ && !open_ && description == protocol::kDeviceDescription;
    record({ok ? TranscriptEntry::Kind::Open : TranscriptEntry::Kind::OpenFailed, description});
    if (ok) {
        open_ = true;
        resetStream();
    }
    return ok;
}

void ModuleEmulator::close()
{
    std::lock_guard lock(mutex_);
    if (!open_)
        return;
    open_ = false;
    resetStream();
    record({TranscriptEntry::Kind::Close, {}});
}

bool ModuleEmulator::isOpen() const
{
    std::lock_guard lock(mutex_);
    return open_;
}

void ModuleEmulator::setBaudRate(int baud)
{
    std::lock_guard lock(mutex_);
    if (open_)
        record({TranscriptEntry::Kind::BaudRate, {}, baud});
}

void ModuleEmulator::setTimeouts(int readMs, int writeMs)
{
    std::lock_guard lock(mutex_);
    if (open_)
        record({TranscriptEntry::Kind::Timeouts, {}, readMs, writeMs});
}

void ModuleEmulator::hostWrite(std::span<const std::uint8_t> bytes)
{
    std::lock_guard lock(mutex_);
    if (!open_ || bytes.empty())
        return;
    record({TranscriptEntry::Kind::HostToModule, toByteArray(bytes)});
    for (std::uint8_t byte : bytes)
        takeByte(byte);
}

std::size_t ModuleEmulator::hostRead(std::span<std::uint8_t> buffer)
{
    std::lock_guard lock(mutex_);
    if (!open_)
        return 0;
    const std::size_t count = std::min(buffer.size(), replies_.size());
    if (count == 0)
        return 0;
    const auto end = replies_.begin() + static_cast<std::ptrdiff_t>(count);
    std::copy(replies_.begin(), end, buffer.begin());
    replies_.erase(replies_.begin(), end);
    record({TranscriptEntry::Kind::ModuleToHost, toByteArray(buffer.first(count))});
    return count;
}

std::size_t ModuleEmulator::pendingReplyBytes() const
{
    std::lock_guard lock(mutex_);
    return replies_.size();
}

void ModuleEmulator::setDeviceCode(std::uint8_t code)
{
    std::lock_guard lock(mutex_);
    deviceCode_ = code;
}

void ModuleEmulator::setPlugged(bool plugged)
{
    std::lock_guard lock(mutex_);
    plugged_ = plugged;
}

ModuleEmulator::Block ModuleEmulator::block(int position) const
{
    std::lock_guard lock(mutex_);
    return memory_.at(index(position));
}

void ModuleEmulator::setBlock(int position, const Block& bytes)
{
    std::lock_guard lock(mutex_);
    memory_.at(index(position)) = bytes;
}

int ModuleEmulator::field(Field f) const
{
    checkField(f.firstBit, f.bitCount);
    std::lock_guard lock(mutex_);
    return fieldLocked(f);
}

void ModuleEmulator::setField(Field f, int value)
{
    checkField(f.firstBit, f.bitCount);
    std::lock_guard lock(mutex_);
    setFieldLocked(f, value);
}

std::uint8_t ModuleEmulator::introTime() const
{
    std::lock_guard lock(mutex_);
    return introTime_;
}

void ModuleEmulator::setIntroTime(std::uint8_t seconds)
{
    std::lock_guard lock(mutex_);
    introTime_ = seconds;
}

void ModuleEmulator::setLanguageCodeBytes(std::uint8_t a, std::uint8_t b)
{
    std::lock_guard lock(mutex_);
    codeByteA_ = a;
    codeByteB_ = b;
}

void ModuleEmulator::injectFault(FaultKind kind, int afterExchanges, int times)
{
    std::lock_guard lock(mutex_);
    faults_.push_back({kind, exchanges_ + afterExchanges, times});
}

void ModuleEmulator::clearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

int ModuleEmulator::exchangeCount() const
{
    std::lock_guard lock(mutex_);
    return exchanges_;
}

std::vector<TranscriptEntry> ModuleEmulator::transcript() const
{
    std::lock_guard lock(mutex_);
    return transcript_;
}

void ModuleEmulator::clearTranscript()
{
    std::lock_guard lock(mutex_);
    transcript_.clear();
}

QByteArray ModuleEmulator::sentBytes() const
{
    std::lock_guard lock(mutex_);
    QByteArray bytes;
    for (const TranscriptEntry& entry : transcript_) {
        if (entry.kind == TranscriptEntry::Kind::HostToModule)
            bytes += entry.bytes;
    }
    return bytes;
}

QByteArray ModuleEmulator::receivedBytes() const
{
    std::lock_guard lock(mutex_);
    QByteArray bytes;
    for (const TranscriptEntry& entry : transcript_) {
        if (entry.kind == TranscriptEntry::Kind::ModuleToHost)
            bytes += entry.bytes;
    }
    return bytes;
}

void ModuleEmulator::takeByte(std::uint8_t byte)
{
    if (expected_) {
        data_.push_back(byte);
        if (data_.size() == expected_->length)
            storeData();
        return;
    }
    frame_.push_back(byte);
    if (frame_.size() < protocol::Frame{}.size())
        return;
    const std::array<std::uint8_t, 2> head{frame_[0], frame_[1]};
    const bool checks = frame_[2] == protocol::checkByte(head);
    frame_.clear();
    // A frame that does not check is noise on the line: the module does not answer
    // it, and it does not count as an exchange.
    if (checks)
        answerFrame(head[0], head[1], exchanges_++);
}

void ModuleEmulator::answerFrame(std::uint8_t command, std::uint8_t parameter, int exchange)
{
    const protocol::Command frame{command, parameter};
    if (frame == protocol::kHello) {
        queueStatusReply({deviceCode_}, exchange);
        return;
    }
    // Other kinds of module share the hello but not the rest of the command set.
    if (deviceCode_ != protocol::kDeviceCodeQ540)
        return;

    if (frame == protocol::kReadConfiguration) {
        std::vector<std::uint8_t> reply;
        for (int p = 0; p < protocol::kConfigurationSize; ++p)
            reply.push_back(memory_[index(p)][protocol::kZoneByte]);
        reply.push_back(protocol::kEndByte);
        queueReply(std::move(reply), exchange);
    } else if (frame == protocol::kWriteConfiguration) {
        expectData(DataTarget::Configuration, 0, protocol::kConfigurationSize, exchange);
    } else if (frame == protocol::kWriteIntroTime) {
        expectData(DataTarget::IntroTime, 0, kIntroTimeDataLength, exchange);
    } else if (frame == protocol::kWritePassword) {
        expectData(DataTarget::Password, 0, kPasswordDataLength, exchange);
    } else if (frame == protocol::kResetLockOn) {
        if (!ignoreSettingChanges_)
            setFieldLocked(kResetAllowedField, 0);
    } else if (frame == protocol::kResetLockOff) {
        if (!ignoreSettingChanges_)
            setFieldLocked(kResetAllowedField, 1);
    } else if (frame == protocol::kReadIntroTime) {
        queueStatusReply({introTime_}, exchange);
    } else if (frame == protocol::kReadLanguage) {
        const auto code = static_cast<std::uint8_t>(fieldLocked(kLanguageField));
        queueStatusReply({code, codeByteA_, codeByteB_}, exchange);
    } else if (command == protocol::kWriteLanguageCommand) {
        if (parameter <= protocol::kHighestLanguageCode && !ignoreSettingChanges_)
            setFieldLocked(kLanguageField, parameter);
    } else {
        const auto& writes = protocol::kBankWriteCommands;
        const auto& reads = protocol::kBankReadCommands;
        if (const auto w = std::find(writes.begin(), writes.end(), command); w != writes.end()) {
            const int position =
                static_cast<int>(w - writes.begin()) * protocol::kBankSize + parameter;
            expectData(DataTarget::Block, position, protocol::kBlockSize, exchange);
        } else if (const auto r = std::find(reads.begin(), reads.end(), command);
                   r != reads.end()) {
            const int position =
                static_cast<int>(r - reads.begin()) * protocol::kBankSize + parameter;
            const Block& stored = memory_[index(position)];
            std::vector<std::uint8_t> reply(stored.begin(), stored.end());
            reply.push_back(protocol::kEndByte);
            queueReply(std::move(reply), exchange);
        }
    }
}

void ModuleEmulator::expectData(DataTarget target, int position, std::size_t length, int exchange)
{
    queueReply({protocol::kEndByte}, exchange);
    expected_ = ExpectedData{target, position, length, exchange};
    data_.clear();
}

void ModuleEmulator::storeData()
{
    const ExpectedData expected = *expected_;
    expected_.reset();
    switch (expected.target) {
    case DataTarget::Block:
        std::copy(data_.begin(), data_.end(), memory_[index(expected.position)].begin());
        if (expected.position == corruptPosition_)
            memory_[index(expected.position)][0] = altered(memory_[index(expected.position)][0]);
        if (corruptConfigurationBit_ >= 0 && expected.position == corruptConfigurationBit_ / 4)
            invertConfigurationBit();
        if (expected.position < protocol::kConfigurationSize)
            introTime_ = static_cast<std::uint8_t>(fieldLocked(kIntroTimeField));
        acknowledgeData(expected.exchange);
        break;
    case DataTarget::Configuration:
        for (int p = 0; p < protocol::kConfigurationSize; ++p)
            memory_[index(p)][protocol::kZoneByte] = data_[index(p)];
        if (corruptConfigurationBit_ >= 0)
            invertConfigurationBit();
        introTime_ = static_cast<std::uint8_t>(fieldLocked(kIntroTimeField));
        acknowledgeData(expected.exchange);
        break;
    case DataTarget::IntroTime:
        introTime_ = data_[0];
        setFieldLocked(kIntroTimeField, introTime_);
        break;
    case DataTarget::Password:
        if (!ignoreSettingChanges_) {
            setFieldLocked(kPasswordFirstField, data_[0]);
            setFieldLocked(kPasswordSecondField, data_[1]);
        }
        break;
    }
    data_.clear();
}

void ModuleEmulator::invertConfigurationBit()
{
    const int bit = corruptConfigurationBit_;
    memory_[index(bit / 4)][protocol::kZoneByte] ^= static_cast<std::uint8_t>(1 << (4 + bit % 4));
}

void ModuleEmulator::acknowledgeData(int exchange)
{
    if (faultFor(exchange) != FaultKind::DataNotAcknowledged)
        queueReply({protocol::kEndByte}, exchange);
}

void ModuleEmulator::queueReply(std::vector<std::uint8_t> reply, int exchange)
{
    switch (faultFor(exchange)) {
    case FaultKind::None:
    case FaultKind::DataNotAcknowledged:
        break;
    case FaultKind::NoReply:
        return;
    case FaultKind::WrongByte:
        reply.front() = altered(reply.front());
        break;
    case FaultKind::ShortReply:
        reply.pop_back();
        break;
    case FaultKind::BadCheckByte:
        reply.back() = altered(reply.back());
        break;
    }
    replies_.insert(replies_.end(), reply.begin(), reply.end());
}

void ModuleEmulator::queueStatusReply(std::vector<std::uint8_t> values, int exchange)
{
    values.insert(values.begin(), protocol::kStatusReplyStart);
    values.push_back(protocol::checkByte(values));
    queueReply(std::move(values), exchange);
}

FaultKind ModuleEmulator::faultFor(int exchange) const
{
    for (const Fault& fault : faults_) {
        if (exchange >= fault.first && (fault.times < 0 || exchange < fault.first + fault.times))
            return fault.kind;
    }
    return FaultKind::None;
}

int ModuleEmulator::fieldLocked(Field f) const
{
    int value = 0;
    for (int i = f.bitCount - 1; i >= 0; --i) {
        const int bit = f.firstBit + i;
        const std::uint8_t zoneByte = memory_[index(bit / 4)][protocol::kZoneByte];
        value = (value << 1) | ((zoneByte >> (4 + bit % 4)) & 1);
    }
    return value;
}

void ModuleEmulator::setFieldLocked(Field f, int value)
{
    // Bits above the field are dropped: the module keeps only what fits.
    for (int i = 0; i < f.bitCount; ++i) {
        const int bit = f.firstBit + i;
        std::uint8_t& zoneByte = memory_[index(bit / 4)][protocol::kZoneByte];
        const auto mask = static_cast<std::uint8_t>(1u << (4 + bit % 4));
        zoneByte =
            static_cast<std::uint8_t>(((value >> i) & 1) ? zoneByte | mask : zoneByte & ~mask);
    }
}

void ModuleEmulator::setClock(const q540::Clock* clock)
{
    std::lock_guard lock(mutex_);
    clock_ = clock;
}

void ModuleEmulator::record(TranscriptEntry entry)
{
    if (clock_)
        entry.atMs = clock_->nowMs();
    transcript_.push_back(std::move(entry));
}

void ModuleEmulator::resetStream()
{
    frame_.clear();
    expected_.reset();
    data_.clear();
    replies_.clear();
}

} // namespace q540::sim
