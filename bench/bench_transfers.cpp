// Times a full directory write and read (1020 entries) over the emulated
// module, two ways:
//  - the program's own share: on a link that costs nothing, every waited
//    millisecond skipped (median of the given number of runs);
//  - what the installer waits: on virtual time over the modelled cable
//    (wire time at 9600 baud, the chip's latency timer at its default 16 ms
//    and at the program's setting), pauses and timeouts included.
// Beside them it prints the time the bytes alone take on the cable, 10 bits
// a byte. Run: build/bench/bench_transfers [iterations]

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "directory/NameList.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/ModuleOperation.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

using namespace q540;

namespace {

constexpr double kBitsPerByte = 10.0;
constexpr double kBaud = 9600.0;

// Keeps only the last message, so that a run that failed is not timed as a transfer.
class LastMessageSink final : public UserSink {
public:
    void showMessage(const QString& text) override { last = text; }
    bool askYesNo(const QString&, const QString&) override { return false; }
    void showProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
    QString last;
};

std::vector<NameRow> fullDirectory()
{
    std::vector<NameRow> rows;
    for (int zone = 1; zone <= kZoneCount; ++zone) {
        for (int apartment = 1; apartment <= kApartmentsPerZone; ++apartment) {
            const QString line1 = QStringLiteral("Wiśniewski %1").arg(apartment).leftJustified(16);
            const QString line2 = QStringLiteral("Łucja m.%1").arg(zone).leftJustified(14);
            rows.push_back({line1 + line2, apartment, zone});
        }
    }
    return rows;
}

struct Figures {
    double medianMs;        // the program's own time, real
    std::int64_t virtualMs; // the transfer's time on the clock
    double wireMs;
};

// One module, found by a poll, and one timed transfer over it per iteration.
Figures measure(int iterations, const QString& expectedMessage,
                const std::function<void(const TransferContext&, ModuleStatus&)>& transfer,
                sim::ModuleEmulator& module, const std::optional<sim::CableTiming>& cable = {})
{
    const QString password = QStringLiteral("1234");
    Localisation texts;
    texts.load();
    sim::VirtualClock clock;
    sim::EmulatedLink link(module, clock);
    if (cable)
        link.modelCable(*cable);
    LastMessageSink sink;
    NoPoll poll;
    const TransferContext context{link, clock, sink, poll, texts};
    std::vector<double> times;
    qsizetype wireBytes = 0;
    std::int64_t virtualMs = 0;
    for (int i = 0; i < iterations; ++i) {
        ModuleStatus status;
        identifyAndApply(status, link, clock, password, texts, sink);
        module.clearTranscript();
        sink.last.clear();
        const std::int64_t virtualStart = clock.nowMs();
        const auto start = std::chrono::steady_clock::now();
        transfer(context, status);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        virtualMs = clock.nowMs() - virtualStart;
        if (sink.last != expectedMessage) {
            QTextStream(stderr) << "transfer failed: " << sink.last << '\n';
            std::exit(1);
        }
        times.push_back(took.count());
        wireBytes = module.sentBytes().size() + module.receivedBytes().size();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], virtualMs, double(wireBytes) * kBitsPerByte / kBaud * 1000.0};
}

QString seconds(double ms)
{
    return QString::number(ms / 1000.0, 'f', 2) + QStringLiteral(" s");
}

void print(const char* what, const Figures& instant, const Figures& chipDefault,
           const Figures& programs)
{
    QTextStream(stdout) << what << ": program " << QString::number(instant.medianMs, 'f', 2)
                        << " ms median; on the modelled cable "
                        << seconds(double(chipDefault.virtualMs)) << " at "
                        << sim::CableTiming{}.chipDefaultLatencyMs << " ms, "
                        << seconds(double(programs.virtualMs)) << " at "
                        << protocol::kLatencyTimerMs << " ms; wire alone "
                        << seconds(instant.wireMs) << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const std::vector<NameRow> rows = fullDirectory();
    const QString password = QStringLiteral("1234");

    sim::ModuleEmulator module;
    for (int i = 0; i < 16; ++i)
        module.setConfigurationNibble(i, 0);
    module.setPasswordFirstHalf(12);
    module.setPasswordSecondHalf(34);

    Localisation texts;
    texts.load();
    const auto write = [&](const TransferContext& c, ModuleStatus& s) {
        sendDirectory(c, rows, password, s);
    };
    const auto read = [&](const TransferContext& c, ModuleStatus& s) {
        receiveDirectory(c, DirectoryGrid(), password, s);
    };
    const QString written = texts.text(textkey::kDataWritten);
    const QString dataRead = texts.text(textkey::kDataRead);
    // A driver that cannot set the timer leaves the chip's own.
    const sim::CableTiming chipDefault{sim::CableTiming{}.chipDefaultLatencyMs, false};
    const sim::CableTiming programs{};
    // The modelled runs are deterministic: one of each says it all.
    const Figures writeFigures[] = {measure(iterations, written, write, module),
                                    measure(1, written, write, module, chipDefault),
                                    measure(1, written, write, module, programs)};
    const Figures readFigures[] = {measure(iterations, dataRead, read, module),
                                   measure(1, dataRead, read, module, chipDefault),
                                   measure(1, dataRead, read, module, programs)};
    QTextStream(stdout) << rows.size() << " entries, " << iterations << " runs each\n";
    print("write", writeFigures[0], writeFigures[1], writeFigures[2]);
    print("read", readFigures[0], readFigures[1], readFigures[2]);
    return 0;
}
