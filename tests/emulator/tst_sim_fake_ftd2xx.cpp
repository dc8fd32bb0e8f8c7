#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"

#include <QLibrary>
#include <QScopeGuard>
#include <QTest>

#include <cstdint>
#include <vector>

using q540::sim::ModuleEmulator;
using q540::sim::TranscriptEntry;
using Kind = TranscriptEntry::Kind;

class TestSimFakeFtd2xx : public QObject {
    Q_OBJECT

private slots:
    void helloThroughTheEntryPoints()
    {
        QLibrary library(QStringLiteral(FAKE_FTD2XX_PATH));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        const auto entry = [&library](const char* name) { return library.resolve(name); };
        using Transfer = std::uint32_t (*)(void*, void*, std::uint32_t, std::uint32_t*);
        const auto attach =
            reinterpret_cast<void (*)(ModuleEmulator*, q540::Clock*)>(entry("fake_ftd2xx_attach"));
        const auto openEx =
            reinterpret_cast<std::uint32_t (*)(void*, std::uint32_t, void**)>(entry("FT_OpenEx"));
        const auto read = reinterpret_cast<Transfer>(entry("FT_Read"));
        const auto write = reinterpret_cast<Transfer>(entry("FT_Write"));
        const auto setBaudRate =
            reinterpret_cast<std::uint32_t (*)(void*, std::uint32_t)>(entry("FT_SetBaudRate"));
        const auto setTimeouts =
            reinterpret_cast<std::uint32_t (*)(void*, std::uint32_t, std::uint32_t)>(
                entry("FT_SetTimeouts"));
        const auto close = reinterpret_cast<std::uint32_t (*)(void*)>(entry("FT_Close"));
        QVERIFY(attach && openEx && read && write && setBaudRate && setTimeouts && close);

        ModuleEmulator module;
        q540::sim::VirtualClock clock;
        attach(&module, &clock);
        const auto detach = qScopeGuard([&] { attach(nullptr, nullptr); });
        char description[] = "VELKOR";
        char wrong[] = "VELKO";
        void* handle = nullptr;
        void* second = nullptr;
        QVERIFY(openEx(description, 1, &handle) != 0); // not by description: never reaches it
        QVERIFY(openEx(wrong, 2, &handle) != 0);
        QCOMPARE(openEx(description, 2, &handle), 0u);
        QVERIFY(openEx(description, 2, &second) != 0);

        std::uint8_t hello[] = {17, 22, 40};
        std::uint8_t reply[4] = {};
        std::uint32_t count = 0;
        QCOMPARE(setBaudRate(handle, 9600), 0u);
        QCOMPARE(setTimeouts(handle, 300, 300), 0u);
        QCOMPARE(write(handle, hello, 3, &count), 0u);
        QCOMPARE(read(handle, reply, 4, &count), 0u);
        QCOMPARE(count, 3u);
        QCOMPARE(clock.nowMs(), 300);
        QCOMPARE(close(handle), 0u);
        QVERIFY(close(handle) != 0);

        const std::vector<TranscriptEntry> expected{
            {Kind::OpenFailed, "VELKO"},          {Kind::Open, "VELKOR"},
            {Kind::OpenFailed, "VELKOR"},         {Kind::BaudRate, {}, 9600},
            {Kind::Timeouts, {}, 300, 300},       {Kind::HostToModule, "\x11\x16\x28"},
            {Kind::ModuleToHost, "\x1F\x46\x66"}, {Kind::Close, {}},
        };
        QVERIFY(module.transcript() == expected);
    }

    void incompleteLibraryLacksSetTimeouts()
    {
        QLibrary library(QStringLiteral(FAKE_FTD2XX_INCOMPLETE_PATH));
        QVERIFY2(library.load(), qPrintable(library.errorString()));
        QVERIFY(library.resolve("FT_SetBaudRate") != nullptr);
        QVERIFY(library.resolve("FT_SetTimeouts") == nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSimFakeFtd2xx)
#include "tst_sim_fake_ftd2xx.moc"
