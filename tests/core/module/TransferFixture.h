#pragma once

#include "base/Localisation.h"
#include "directory/NameList.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/ModuleOperation.h"
#include "module/ModuleStatus.h"
#include "module/TransferSession.h"
#include "protocol/Protocol.h"
#include "support/RecordingSink.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace q540::test {

struct RecordingPoll final : PollControl {
    void suspend() override { events << QStringLiteral("suspend"); }
    void resume() override { events << QStringLiteral("resume"); }
    QStringList events;
};

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b += char(v);
    return b;
}

inline QByteArray bytes(const protocol::Frame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), qsizetype(f.size()));
}

// Module text of plain ASCII: the codes are the characters themselves.
inline QByteArray asciiText(const QString& text, int length)
{
    return text.leftJustified(length, u' ').toLatin1();
}

inline NameRow entry(const QString& line1, const QString& line2, int apartment, int zone)
{
    return {line1.leftJustified(16, u' ') + line2.leftJustified(14, u' '), apartment, zone};
}

// A module with the installer password 12 34, the reset allowed, language
// code 1 (PL), intro time 5 and the alphabetical search on, found by one
// poll before the test begins, as the window finds it.
struct TransferFixture {
    sim::ModuleEmulator module;
    sim::VirtualClock clock;
    sim::EmulatedLink link{module, clock};
    RecordingSink sink;
    RecordingPoll poll;
    Localisation texts;
    ModuleStatus status;
    QString password = QStringLiteral("1234");
    TransferContext context{link, clock, sink, poll, texts};

    // The nibbles that configuration writes for this module.
    static constexpr std::array<int, 16> kNibbles{0, 0, 0, 12, 0, 2,  10, 1,
                                                  0, 0, 0, 5,  8, 15, 15, 15};

    explicit TransferFixture(int language = 0, int entryCount = 1)
    {
        texts.load();
        texts.setLanguage(language);
        for (int i = 0; i < protocol::kConfigurationSize; ++i)
            module.setConfigurationNibble(i, 0);
        module.setEntryCount(entryCount);
        module.setPasswordFirstHalf(12);
        module.setPasswordSecondHalf(34);
        module.setResetAllowed(true);
        module.setLanguageCode(1);
        module.setConfigurationNibble(11, 5);
        module.setAlphabeticalSearch(true);
        identifyAndApply(status, link, clock, password, texts, sink);
        module.clearTranscript();
    }

    // Every 3-byte write, which is every frame the host sent, in order.
    QList<QByteArray> frames() const
    {
        QList<QByteArray> result;
        for (const auto& e : module.transcript()) {
            if (e.kind == sim::TranscriptEntry::Kind::HostToModule && e.bytes.size() == 3)
                result << e.bytes;
        }
        return result;
    }

    QByteArray block(int position) const
    {
        const auto b = module.block(position);
        return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    }

    // Blocks 0..15 keep the configuration nibble in the high half of their zone byte.
    void setBlock(int position, const QByteArray& content)
    {
        std::array<std::uint8_t, protocol::kBlockSize> b{};
        for (int i = 0; i < protocol::kBlockSize; ++i)
            b[std::size_t(i)] = std::uint8_t(content.at(i));
        if (position < protocol::kConfigurationSize)
            b[31] = std::uint8_t((module.block(position)[31] & 0xF0) | (b[31] & 0x0F));
        module.setBlock(position, b);
    }

    // The identification's two exchanges that the directory transfers begin with.
    static QByteArray identificationBytes()
    {
        return bytes(protocol::frame(protocol::kHello))
               + bytes(protocol::frame(protocol::kReadConfiguration));
    }

    // What every way out of a transfer promises.
    bool endedCleanly() const
    {
        return !link.isOpen() && !module.isOpen() && !sink.progressVisible
               && poll.events == QStringList({"suspend", "resume"});
    }
};

} // namespace q540::test
