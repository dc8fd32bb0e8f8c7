#pragma once

#include "device/DeviceGate.h"
#include "module/Identification.h"

#include <QObject>

class QThread;

namespace q540 {

class Clock;

// The status poll's worker: runs one identification exchange at a time on a
// thread of its own, through the device gate, and hands the outcome back to
// the thread this object lives in. Applying the outcome is left to that
// thread, which owns the module's settings.
class PollWorker final : public QObject {
    Q_OBJECT

public:
    PollWorker(Link& device, DeviceGate& gate, Clock& clock, QObject* parent = nullptr);
    // Waits for a running exchange; its outcome is not delivered.
    ~PollWorker() override;

    // Starts one exchange unless one is still running (its outcome not yet
    // delivered); returns whether it started.
    bool start(bool readConfiguration);
    bool isRunning() const { return thread_ != nullptr; }

signals:
    // Delivered queued, on this object's thread; the poll is no longer
    // running when it arrives, so the receiver may start the next one.
    void finished(const q540::IdentificationOutcome& outcome);

private:
    void deliver(const IdentificationOutcome& outcome);

    Link& device_;
    DeviceGate& gate_;
    Clock& clock_;
    QThread* thread_ = nullptr;
};

} // namespace q540
