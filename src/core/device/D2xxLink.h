#pragma once

#include "device/Link.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace q540 {

// The cable through the chip maker's D2XX driver library, loaded at run time
// by name. The library is kept loaded for the life of the object.
class D2xxLink final : public Link {
public:
    // "FTD2XX.dll" on Windows, "libftd2xx.so" elsewhere.
    static QString defaultLibraryName();

    // Loads the library and looks up its six entry points. A library that
    // cannot be loaded or lacks any of them gives nullptr: both mean that the
    // driver is not installed.
    static std::unique_ptr<D2xxLink> load(const QString& libraryName = defaultLibraryName());

    ~D2xxLink() override;

    bool open() override;
    void setBaudRate(int baud) override;
    void setTimeouts(int readMs, int writeMs) override;
    void write(std::span<const std::uint8_t> bytes) override;
    std::size_t read(std::span<std::uint8_t> bytes) override;
    void close() override;
    bool isOpen() const override { return handle_ != nullptr; }
    // Read back from the chip, where the library can.
    std::optional<int> latencyTimerMs() const override;
    // The library tells no more than that it found no cable it could open.
    OpenProblem openProblem() const override
    {
        return handle_ ? OpenProblem::None : OpenProblem::NoCable;
    }

private:
    struct EntryPoints;
    D2xxLink(std::unique_ptr<QLibrary> library, std::unique_ptr<EntryPoints> entries);

    std::unique_ptr<QLibrary> library_;
    std::unique_ptr<EntryPoints> entries_;
    void* handle_ = nullptr;
};

} // namespace q540
