#include "device/D2xxLink.h"

#include "protocol/Protocol.h"

#include <cstdint>

#ifdef Q_OS_WIN
#define Q540_D2XX_CALL __stdcall
#else
#define Q540_D2XX_CALL
#endif

namespace q540 {

namespace {

// The driver's integer types are 32 bits wide on every platform it ships for.
using Status = std::uint32_t;
using Word = std::uint32_t;
constexpr Status kStatusOk = 0;
constexpr Word kPurgeReceive = 1;
constexpr Word kPurgeTransmit = 2;

using OpenExFn = Status(Q540_D2XX_CALL*)(void* arg, Word flags, void** handle);
using CloseFn = Status(Q540_D2XX_CALL*)(void* handle);
using ReadFn = Status(Q540_D2XX_CALL*)(void* handle, void* buffer, Word count, Word* done);
using WriteFn = Status(Q540_D2XX_CALL*)(void* handle, void* buffer, Word count, Word* done);
using SetBaudRateFn = Status(Q540_D2XX_CALL*)(void* handle, Word baud);
using SetTimeoutsFn = Status(Q540_D2XX_CALL*)(void* handle, Word readMs, Word writeMs);
using SetLatencyTimerFn = Status(Q540_D2XX_CALL*)(void* handle, unsigned char ms);
using GetLatencyTimerFn = Status(Q540_D2XX_CALL*)(void* handle, unsigned char* ms);
using PurgeFn = Status(Q540_D2XX_CALL*)(void* handle, Word mask);

template <typename Fn> bool resolve(QLibrary& library, const char* name, Fn& fn)
{
    fn = reinterpret_cast<Fn>(library.resolve(name));
    return fn != nullptr;
}

} // namespace

struct D2xxLink::EntryPoints {
    OpenExFn openEx = nullptr;
    CloseFn close = nullptr;
    ReadFn read = nullptr;
    WriteFn write = nullptr;
    SetBaudRateFn setBaudRate = nullptr;
    SetTimeoutsFn setTimeouts = nullptr;
    // Optional: a library that lacks them still works (older ones lack the
    // latency timer).
    SetLatencyTimerFn setLatencyTimer = nullptr;
    GetLatencyTimerFn getLatencyTimer = nullptr;
    PurgeFn purge = nullptr;
};

QString D2xxLink::defaultLibraryName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("FTD2XX.dll");
#else
    return QStringLiteral("libftd2xx.so");
#endif
}

std::unique_ptr<D2xxLink> D2xxLink::load(const QString& libraryName)
{
    auto library = std::make_unique<QLibrary>(libraryName);
    if (!library->load())
        return nullptr;
    auto e = std::make_unique<EntryPoints>();
    const bool complete =
        resolve(*library, "FT_OpenEx", e->openEx) && resolve(*library, "FT_Close", e->close)
        && resolve(*library, "FT_Read", e->read) && resolve(*library, "FT_Write", e->write)
        && resolve(*library, "FT_SetBaudRate", e->setBaudRate)
        && resolve(*library, "FT_SetTimeouts", e->setTimeouts);
    if (!complete) {
        library->unload();
        return nullptr;
    }
    resolve(*library, "FT_SetLatencyTimer", e->setLatencyTimer);
    resolve(*library, "FT_GetLatencyTimer", e->getLatencyTimer);
    resolve(*library, "FT_Purge", e->purge);
    return std::unique_ptr<D2xxLink>(new D2xxLink(std::move(library), std::move(e)));
}

D2xxLink::D2xxLink(std::unique_ptr<QLibrary> library, std::unique_ptr<EntryPoints> entries)
    : library_(std::move(library)), entries_(std::move(entries))
{
}

D2xxLink::~D2xxLink()
{
    close();
    library_->unload();
}

bool D2xxLink::open()
{
    if (handle_ != nullptr)
        return false;
    // The driver takes the description as a writable zero-terminated string.
    char description[] = "VELKOR";
    static_assert(sizeof(description) == sizeof(protocol::kDeviceDescription));
    void* handle = nullptr;
    if (entries_->openEx(description, protocol::kOpenByDescription, &handle) != kStatusOk
        || handle == nullptr)
        return false;
    handle_ = handle;
    // Bytes still in the chip from before the open, such as the module's
    // answer to a write that was killed, would pass for the reply to the
    // first frame.
    if (entries_->purge)
        entries_->purge(handle_, kPurgeReceive | kPurgeTransmit);
    // The module's one-byte acknowledgements reach the program sooner; the
    // bytes on the wire stay the same. A library without it works as before.
    if (entries_->setLatencyTimer)
        entries_->setLatencyTimer(handle_, static_cast<unsigned char>(protocol::kLatencyTimerMs));
    return true;
}

std::optional<int> D2xxLink::latencyTimerMs() const
{
    unsigned char ms = 0;
    if (handle_ == nullptr || !entries_->getLatencyTimer
        || entries_->getLatencyTimer(handle_, &ms) != kStatusOk)
        return std::nullopt;
    return ms;
}

void D2xxLink::setBaudRate(int baud)
{
    if (handle_ != nullptr)
        entries_->setBaudRate(handle_, static_cast<Word>(baud));
}

void D2xxLink::setTimeouts(int readMs, int writeMs)
{
    if (handle_ != nullptr)
        entries_->setTimeouts(handle_, static_cast<Word>(readMs), static_cast<Word>(writeMs));
}

void D2xxLink::write(std::span<const std::uint8_t> bytes)
{
    if (handle_ == nullptr)
        return;
    Word written = 0;
    entries_->write(handle_, const_cast<std::uint8_t*>(bytes.data()),
                    static_cast<Word>(bytes.size()), &written);
}

std::size_t D2xxLink::read(std::span<std::uint8_t> bytes)
{
    if (handle_ == nullptr)
        return 0;
    Word got = 0;
    entries_->read(handle_, bytes.data(), static_cast<Word>(bytes.size()), &got);
    return std::min<std::size_t>(got, bytes.size());
}

void D2xxLink::close()
{
    if (handle_ == nullptr)
        return;
    entries_->close(handle_);
    handle_ = nullptr;
}

} // namespace q540
