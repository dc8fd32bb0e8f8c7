#include "support/EmulatedWindow.h"

#include <QDeadlineTimer>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

using namespace q540;

namespace {

// The emulated module behind a cable that takes real time at each open, read
// and close, so that a poll stays inside the link while the window is torn down
// around it. Counts the calls still inside and those made once the window
// began to close.
class SlowLink final : public Link {
public:
    explicit SlowLink(Link& inner) : inner_(inner) {}

    bool open() override
    {
        const Call call(*this);
        return inner_.open();
    }
    void setBaudRate(int baud) override { inner_.setBaudRate(baud); }
    void setTimeouts(int readMs, int writeMs) override { inner_.setTimeouts(readMs, writeMs); }
    void write(std::span<const std::uint8_t> bytes) override { inner_.write(bytes); }
    std::size_t read(std::span<std::uint8_t> bytes) override
    {
        const Call call(*this);
        return inner_.read(bytes);
    }
    void close() override
    {
        const Call call(*this);
        inner_.close();
    }
    bool isOpen() const override { return inner_.isOpen(); }

    std::atomic<int> inside{0};
    std::atomic<bool> closing{false};
    std::atomic<int> callsWhileClosing{0};

private:
    struct Call {
        explicit Call(SlowLink& link) : link_(link)
        {
            ++link_.inside;
            link_.callsWhileClosing += link_.closing ? 1 : 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ~Call() { --link_.inside; }
        SlowLink& link_;
    };

    Link& inner_;
};

// The emulated window with its module behind the slow link, which outlives it.
struct SlowWindow : test::EmulatedWindow {
    SlowLink slow{device};
    SlowWindow() { window->attachModule(slow, clock); }
    ~SlowWindow() { window.reset(); }
};

} // namespace

class CloseDuringPollTest : public QObject {
    Q_OBJECT

private slots:
    void closingWaitsForThePollInFlight();
};

// The window closed while its poll is inside the link, again and again: the
// poll ends before anything it reaches is gone (a sanitizer build sees every
// late access), and leaves the device closed.
void CloseDuringPollTest::closingWaitsForThePollInFlight()
{
    constexpr int kWindows = 200;
    int caughtInFlight = 0;
    for (int i = 0; i < kWindows; ++i) {
        SlowWindow w;
        SlowLink& slow = w.slow;
        w.window->module().Timer1Timer();
        const QDeadlineTimer deadline(10000);
        while (slow.inside == 0 && !deadline.hasExpired())
            std::this_thread::yield();
        QVERIFY2(slow.inside > 0, "the poll never reached the link");
        slow.closing = true;
        w.window.reset();
        QCOMPARE(slow.inside.load(), 0);
        QVERIFY(!w.device.isOpen());
        caughtInFlight += slow.callsWhileClosing > 0 ? 1 : 0;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // A loaded machine may let a poll end before the window begins to close;
    // most must still be caught in flight, or this test tries nothing.
    QVERIFY2(caughtInFlight > kWindows / 2, qPrintable(QString::number(caughtInFlight)));
}

QTEST_MAIN(CloseDuringPollTest)
#include "tst_closeduringpoll.moc"
