#include "simtool/PtyServer.h"

#include "emulator/ModuleEmulator.h"
#include "protocol/Protocol.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace q540::simtool {

namespace {

// With no host on the slave the master reports a hang-up on every poll, so it
// cannot be waited on; it is looked at again after this pause instead. A host
// that opens the slave and writes at once loses nothing: its bytes wait in the
// terminal until then, even when it has closed the slave meanwhile.
constexpr auto kHostProbeInterval = std::chrono::milliseconds(5);

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1StringView(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

timespec pollTimeout(std::chrono::nanoseconds wait)
{
    using namespace std::chrono;
    if (wait < nanoseconds::zero())
        wait = nanoseconds::zero();
    const auto s = duration_cast<seconds>(wait);
    return {static_cast<time_t>(s.count()), static_cast<long>((wait - s).count())};
}

} // namespace

PtyServer::PtyServer(sim::ModuleEmulator& module, int latencyTimerMs)
    : module_(module), toModule_(byteTimeAt(protocol::kBaudRate)),
      toHost_(byteTimeAt(protocol::kBaudRate)), latencyTimerMs_(latencyTimerMs)
{
}

PtyServer::~PtyServer()
{
    if (master_ >= 0)
        ::close(master_);
}

bool PtyServer::open()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) {
        error_ = systemError("posix_openpt");
        return false;
    }
    std::array<char, 128> name{};
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0
        || ::ptsname_r(master_, name.data(), name.size()) != 0) {
        error_ = systemError("pseudo-terminal");
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name.data());
    return configureSlave();
}

bool PtyServer::configureSlave()
{
    // Hosts that set up the port themselves (as the serial backend does) do not
    // need this, but a plain tool on the slave must not see echoes or have its
    // bytes cooked. The settings stay with the terminal while the master is open.
    const int slave = ::open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        error_ = systemError("open slave");
        return false;
    }
    termios mode{};
    bool ok = ::tcgetattr(slave, &mode) == 0;
    if (ok) {
        ::cfmakeraw(&mode);
        mode.c_cflag |= CLOCAL | CREAD;
        ::cfsetispeed(&mode, B9600);
        ::cfsetospeed(&mode, B9600);
        ok = ::tcsetattr(slave, TCSANOW, &mode) == 0;
    }
    if (!ok)
        error_ = systemError("raw mode");
    ::close(slave);
    return ok;
}

bool PtyServer::serve(int stopFd)
{
    for (;;) {
        const auto now = Wire::Clock::now();
        if (hostPresent_)
            exchange(now);

        // Sleep until the next byte is due, the host writes or hangs up, or a stop.
        const std::optional<Wire::TimePoint> due = nextArrival();
        std::array<pollfd, 2> fds{{{stopFd, POLLIN, 0}, {master_, POLLIN, 0}}};
        timespec wait{};
        const timespec* timeout = nullptr;
        if (!hostPresent_) {
            wait = pollTimeout(kHostProbeInterval);
            timeout = &wait;
        } else if (due) {
            wait = pollTimeout(*due - Wire::Clock::now());
            timeout = &wait;
        }
        const nfds_t count = hostPresent_ ? 2 : 1;
        if (::ppoll(fds.data(), count, timeout, nullptr) < 0) {
            if (errno == EINTR)
                continue;
            error_ = systemError("ppoll");
            return false;
        }
        if (fds[0].revents != 0)
            return true;

        if (!hostPresent_) {
            pollfd probe{master_, POLLIN, 0};
            if (::poll(&probe, 1, 0) < 0)
                continue;
            if (!(probe.revents & POLLHUP)) {
                hostArrived();
            } else if (probe.revents & POLLIN) {
                // A host came, wrote and left between two looks (the reset
                // lock takes a millisecond): a session of its own, whose bytes
                // reach the module and whose replies go nowhere.
                hostArrived();
                readHost(Wire::Clock::now());
                if (hostPresent_)
                    hostLeft();
            }
            continue;
        }
        if (fds[1].revents & POLLIN)
            readHost(Wire::Clock::now());
        else if (fds[1].revents & (POLLHUP | POLLERR))
            hostLeft();
    }
}

std::optional<Wire::TimePoint> PtyServer::nextArrival() const
{
    std::optional<Wire::TimePoint> next;
    const auto consider = [&next](std::optional<Wire::TimePoint> t) {
        if (t && (!next || *t < *next))
            next = t;
    };
    consider(toModule_.nextArrival());
    consider(toHost_.nextArrival());
    if (chip_) {
        if (const auto release = chip_->releaseOf(1))
            consider(hostArrivedAt_ + std::chrono::microseconds(*release));
    }
    return next;
}

std::int64_t PtyServer::sinceHostArrivedUs(Wire::TimePoint t) const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(t - hostArrivedAt_).count();
}

// The reply bytes the host may have by now: those the wire has carried, and
// with a chip only those its timer has let through.
std::vector<std::uint8_t> PtyServer::replyBytesBy(Wire::TimePoint now)
{
    if (!chip_)
        return toHost_.arrived(now);
    for (const Wire::Arrival& a : toHost_.arrivals(now))
        chip_->arrive(a.byte, sinceHostArrivedUs(a.at));
    return chip_->take(sinceHostArrivedUs(now));
}

void PtyServer::exchange(Wire::TimePoint now)
{
    const std::vector<std::uint8_t> request = toModule_.arrived(now);
    if (!request.empty()) {
        module_.hostWrite(request);
        // The module answers as soon as the frame is in, not when this loop
        // got round to it, so a late wake-up does not stretch the exchange.
        std::array<std::uint8_t, 256> reply{};
        while (const std::size_t n = module_.hostRead(reply))
            toHost_.send(std::span(reply).first(n), toModule_.lastArrival());
    }
    const std::vector<std::uint8_t> reply = replyBytesBy(now);
    if (!reply.empty())
        writeHost(reply);
}

void PtyServer::readHost(Wire::TimePoint now)
{
    std::array<std::uint8_t, 256> buffer{};
    for (;;) {
        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n > 0) {
            toModule_.send(std::span(buffer).first(static_cast<std::size_t>(n)), now);
            continue;
        }
        // EIO: the last host closed the slave after its bytes were read.
        if (n == 0 || (n < 0 && errno == EIO))
            hostLeft();
        return;
    }
}

void PtyServer::writeHost(std::span<const std::uint8_t> bytes)
{
    // A host that stops reading for long fills the terminal's buffer; what
    // does not fit is lost, as it would be in the cable's converter.
    if (::write(master_, bytes.data(), bytes.size()) < 0 && errno == EIO)
        hostLeft();
}

void PtyServer::hostArrived()
{
    hostPresent_ = true;
    toModule_.clear();
    toHost_.clear();
    hostArrivedAt_ = Wire::Clock::now();
    if (latencyTimerMs_ > 0)
        chip_.emplace(latencyTimerMs_, 0);
    module_.open(QByteArray(protocol::kDeviceDescription));
}

void PtyServer::hostLeft()
{
    hostPresent_ = false;
    // A host that closes the port right after its last write (the reset lock,
    // the password's data) has sent those bytes all the same: the module gets
    // them before the device closes.
    if (const std::vector<std::uint8_t> last = toModule_.arrived(Wire::TimePoint::max());
        !last.empty())
        module_.hostWrite(last);
    toModule_.clear();
    toHost_.clear();
    if (chip_)
        chip_->clear();
    module_.close();
    // Replies that the host did not stay for wait in the slave's input and
    // would greet the next host that opens it. Only a slave descriptor can
    // empty that queue. Nothing has been written for a new host yet, so a
    // host that has already reopened the slave loses nothing of its own.
    const int slave = ::open(slavePath_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        ::tcflush(slave, TCIFLUSH);
        ::close(slave);
    }
    // A module served for days would otherwise keep every poll in memory.
    module_.clearTranscript();
}

} // namespace q540::simtool
