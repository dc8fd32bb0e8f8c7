// A stand-in for the cable's driver library: the six entry points the D2XX
// backend looks up by name, served by an emulated module that a test hands in.
// Built four times: the second build leaves out FT_SetTimeouts so that the
// backend's handling of an incomplete library can be tested, the third the
// optional FT_SetLatencyTimer and FT_GetLatencyTimer, as older libraries
// lack them, the fourth the optional FT_Purge.

#include "device/Clock.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"

#include <QByteArray>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#define FAKE_FTD2XX_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using Status = std::uint32_t;

// The driver's status codes that this library gives.
constexpr Status kOk = 0;
constexpr Status kInvalidHandle = 1;
constexpr Status kDeviceNotFound = 2;
constexpr Status kInvalidParameter = 6;
constexpr std::uint32_t kOpenByDescription = 2;

struct Driver {
    std::mutex mutex;
    q540::sim::ModuleEmulator* module = nullptr;
    q540::Clock* clock = nullptr;
    std::vector<std::unique_ptr<q540::sim::EmulatedLink>> handles;
    int latencyCalls = 0;
    int latencyMs = 0;
    // The chip's receive buffer as the previous user left it: read before
    // anything the module sends, until purged.
    std::vector<std::uint8_t> stale;
};

// Lives as long as the library is loaded; a test detaches its module (attach
// with nullptr) before the module goes, so no handle outlives its module.
Driver& driver()
{
    static Driver d;
    return d;
}

// The handle is the link itself; the list only tells ours from garbage. The
// lock is released before the link is used, because a read may sleep on the
// clock and the poll worker must not wait behind it.
q540::sim::EmulatedLink* linkOf(void* handle)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    const auto it = std::find_if(d.handles.begin(), d.handles.end(),
                                 [handle](const auto& link) { return link.get() == handle; });
    return it == d.handles.end() ? nullptr : it->get();
}

// The stale bytes that fit, taken out of the chip's buffer.
std::size_t takeStale(std::span<std::uint8_t> buffer)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    const std::size_t n = std::min(buffer.size(), d.stale.size());
    std::copy_n(d.stale.begin(), n, buffer.begin());
    d.stale.erase(d.stale.begin(), d.stale.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

} // namespace

FAKE_FTD2XX_EXPORT void fake_ftd2xx_attach(q540::sim::ModuleEmulator* module, q540::Clock* clock)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    // Handles still open belong to the module attached so far: closing them
    // releases that module, as unplugging the cable would.
    d.handles.clear();
    d.module = module;
    d.clock = clock;
    d.latencyCalls = 0;
    d.latencyMs = 0;
    d.stale.clear();
}

// Leaves bytes in the chip's receive buffer, as a write killed before the
// module's answer was read does.
FAKE_FTD2XX_EXPORT void fake_ftd2xx_leave_stale(const std::uint8_t* bytes, std::uint32_t count)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    d.stale.insert(d.stale.end(), bytes, bytes + count);
}

FAKE_FTD2XX_EXPORT Status FT_OpenEx(void* arg, std::uint32_t flags, void** handle)
{
    if (handle == nullptr)
        return kInvalidParameter;
    *handle = nullptr;
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    if (d.module == nullptr || d.clock == nullptr || arg == nullptr || flags != kOpenByDescription)
        return kDeviceNotFound;
    auto link = std::make_unique<q540::sim::EmulatedLink>(*d.module, *d.clock);
    if (!link->open(QByteArray(static_cast<const char*>(arg))))
        return kDeviceNotFound;
    *handle = link.get();
    d.handles.push_back(std::move(link));
    return kOk;
}

FAKE_FTD2XX_EXPORT Status FT_Close(void* handle)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    const auto it = std::find_if(d.handles.begin(), d.handles.end(),
                                 [handle](const auto& link) { return link.get() == handle; });
    if (it == d.handles.end())
        return kInvalidHandle;
    d.handles.erase(it);
    return kOk;
}

FAKE_FTD2XX_EXPORT Status FT_Read(void* handle, void* buffer, std::uint32_t count,
                                  std::uint32_t* got)
{
    q540::sim::EmulatedLink* link = linkOf(handle);
    if (link == nullptr)
        return kInvalidHandle;
    const std::span wanted(static_cast<std::uint8_t*>(buffer), count);
    std::size_t n = takeStale(wanted);
    if (n < wanted.size())
        n += link->read(wanted.subspan(n));
    if (got != nullptr)
        *got = static_cast<std::uint32_t>(n);
    return kOk;
}

FAKE_FTD2XX_EXPORT Status FT_Write(void* handle, void* buffer, std::uint32_t count,
                                   std::uint32_t* written)
{
    q540::sim::EmulatedLink* link = linkOf(handle);
    if (link == nullptr)
        return kInvalidHandle;
    link->write(std::span(static_cast<const std::uint8_t*>(buffer), count));
    if (written != nullptr)
        *written = count;
    return kOk;
}

FAKE_FTD2XX_EXPORT Status FT_SetBaudRate(void* handle, std::uint32_t baud)
{
    q540::sim::EmulatedLink* link = linkOf(handle);
    if (link == nullptr)
        return kInvalidHandle;
    link->setBaudRate(static_cast<int>(baud));
    return kOk;
}

#ifndef FAKE_FTD2XX_WITHOUT_PURGE
FAKE_FTD2XX_EXPORT Status FT_Purge(void* handle, std::uint32_t mask)
{
    constexpr std::uint32_t kPurgeReceive = 1;
    if (linkOf(handle) == nullptr)
        return kInvalidHandle;
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    if (mask & kPurgeReceive)
        d.stale.clear();
    return kOk;
}
#endif

#ifndef FAKE_FTD2XX_WITHOUT_SET_TIMEOUTS
#ifndef FAKE_FTD2XX_WITHOUT_LATENCY_TIMER
FAKE_FTD2XX_EXPORT Status FT_SetLatencyTimer(void* handle, unsigned char ms)
{
    if (linkOf(handle) == nullptr)
        return kInvalidHandle;
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    ++d.latencyCalls;
    d.latencyMs = ms;
    return kOk;
}

// The chip's own 16 ms until the timer is set.
FAKE_FTD2XX_EXPORT Status FT_GetLatencyTimer(void* handle, unsigned char* ms)
{
    if (linkOf(handle) == nullptr || ms == nullptr)
        return kInvalidHandle;
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    *ms = static_cast<unsigned char>(d.latencyCalls > 0 ? d.latencyMs : 16);
    return kOk;
}
#endif

// How often the latency timer was set since the last attach, and its last value.
FAKE_FTD2XX_EXPORT void fake_ftd2xx_latency(int* calls, int* ms)
{
    Driver& d = driver();
    std::lock_guard lock(d.mutex);
    *calls = d.latencyCalls;
    *ms = d.latencyMs;
}

FAKE_FTD2XX_EXPORT Status FT_SetTimeouts(void* handle, std::uint32_t readMs, std::uint32_t writeMs)
{
    q540::sim::EmulatedLink* link = linkOf(handle);
    if (link == nullptr)
        return kInvalidHandle;
    link->setTimeouts(static_cast<int>(readMs), static_cast<int>(writeMs));
    return kOk;
}
#endif
