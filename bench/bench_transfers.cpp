// Times the program's own share of a full directory write and read: 1020
// entries over the emulated module on virtual time, so the link costs
// nothing and every waited millisecond is skipped. Beside each median it
// prints the time the same bytes take on the cable at 9600 baud, 10 bits a
// byte. Run: build/bench/bench_transfers [iterations]

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

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
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
    double medianMs;
    double wireMs;
};

// One module, found by a poll, and one timed transfer over it per iteration.
Figures measure(int iterations, const QString& expectedMessage,
                const std::function<void(const TransferContext&, ModuleStatus&)>& transfer,
                sim::ModuleEmulator& module)
{
    const QString password = QStringLiteral("1234");
    Localisation texts;
    texts.Wczytaj_WJ_do_tablicy();
    sim::VirtualClock clock;
    sim::EmulatedLink link(module, clock);
    LastMessageSink sink;
    NoPoll poll;
    const TransferContext context{link, clock, sink, poll, texts};
    std::vector<double> times;
    qsizetype wireBytes = 0;
    for (int i = 0; i < iterations; ++i) {
        ModuleStatus status;
        Odczytaj_dane(status, link, clock, password, texts, sink);
        module.clearTranscript();
        sink.last.clear();
        const auto start = std::chrono::steady_clock::now();
        transfer(context, status);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (sink.last != expectedMessage) {
            QTextStream(stderr) << "transfer failed: " << sink.last << '\n';
            std::exit(1);
        }
        times.push_back(took.count());
        wireBytes = module.sentBytes().size() + module.receivedBytes().size();
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], double(wireBytes) * kBitsPerByte / kBaud * 1000.0};
}

void print(const char* what, const Figures& f)
{
    QTextStream(stdout) << what << ": program " << QString::number(f.medianMs, 'f', 2)
                        << " ms median, wire at 9600 baud " << QString::number(f.wireMs, 'f', 0)
                        << " ms\n";
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
    texts.Wczytaj_WJ_do_tablicy();
    const Figures write = measure(
        iterations, texts.text(textkey::kDataWritten),
        [&](const TransferContext& c, ModuleStatus& s) { Button0Click(c, rows, password, s); },
        module);
    const Figures read = measure(
        iterations, texts.text(textkey::kDataRead),
        [&](const TransferContext& c, ModuleStatus& s) {
            Buttonz9Click(c, DirectoryGrid(), password, s);
        },
        module);
    QTextStream(stdout) << rows.size() << " entries, " << iterations << " runs each\n";
    print("write", write);
    print("read", read);
    return 0;
}
