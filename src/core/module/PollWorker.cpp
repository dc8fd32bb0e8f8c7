#include "module/PollWorker.h"

#include <QThread>

namespace q540 {

PollWorker::PollWorker(Link& device, DeviceGate& gate, Clock& clock, QObject* parent)
    : QObject(parent), device_(device), gate_(gate), clock_(clock)
{
    qRegisterMetaType<IdentificationOutcome>();
}

PollWorker::~PollWorker()
{
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

bool PollWorker::start(bool readConfiguration)
{
    if (thread_)
        return false;
    thread_ = QThread::create([this, readConfiguration] {
        // The worker's own user of the device: a user-started operation
        // holding the gate makes this open wait instead of failing.
        GatedLink link(device_, gate_);
        const IdentificationOutcome outcome = identifyModule(link, clock_, readConfiguration);
        QMetaObject::invokeMethod(
            this, [this, outcome] { deliver(outcome); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void PollWorker::deliver(const IdentificationOutcome& outcome)
{
    // The exchange has ended; only the thread's own return is left to wait for.
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    emit finished(outcome);
}

} // namespace q540
