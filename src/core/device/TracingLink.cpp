#include "device/TracingLink.h"

#include "base/PrivateFiles.h"
#include "device/Clock.h"

#include <QFile>
#include <QIODevice>

namespace q540 {

namespace {

QString hexBytes(std::span<const std::uint8_t> bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()) * 3);
    for (std::uint8_t byte : bytes) {
        if (!text.isEmpty())
            text += u' ';
        text += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text;
}

} // namespace

TracingLink::TracingLink(Link& inner, QIODevice& trace, const Clock& clock)
    : inner_(inner), trace_(trace), clock_(clock), startMs_(clock.nowMs())
{
}

TracingLink::TracingLink(Link& inner, std::unique_ptr<QFile> file, const Clock& clock)
    : inner_(inner), ownedFile_(std::move(file)), trace_(*ownedFile_), clock_(clock),
      startMs_(clock.nowMs())
{
}

TracingLink::~TracingLink() = default;

std::unique_ptr<TracingLink> TracingLink::toFile(Link& inner, const QString& path,
                                                 const Clock& clock, QString* error)
{
    // Unbuffered: every line reaches the file at once, and a write the system
    // refuses shows at that line.
    auto file = std::make_unique<QFile>(path);
    if (const std::optional<QString> problem =
            openOwnerOnly(*file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text
                                     | QIODevice::Unbuffered)) {
        if (error)
            *error = *problem;
        return nullptr;
    }
    return std::unique_ptr<TracingLink>(new TracingLink(inner, std::move(file), clock));
}

bool TracingLink::open()
{
    const bool opened = inner_.open();
    trace(opened ? QStringLiteral("open") : QStringLiteral("open failed"));
    if (const std::optional<int> latency = opened ? inner_.latencyTimerMs() : std::nullopt)
        trace(QStringLiteral("latency timer %1 ms").arg(*latency));
    return opened;
}

void TracingLink::setBaudRate(int baud)
{
    trace(QStringLiteral("baud %1").arg(baud));
    inner_.setBaudRate(baud);
}

void TracingLink::setTimeouts(int readMs, int writeMs)
{
    trace(QStringLiteral("timeouts %1 %2").arg(readMs).arg(writeMs));
    inner_.setTimeouts(readMs, writeMs);
}

void TracingLink::write(std::span<const std::uint8_t> bytes)
{
    // Stamped before the call: a write to a slow port may block.
    trace(QStringLiteral("> ") + hexBytes(bytes));
    inner_.write(bytes);
}

std::size_t TracingLink::read(std::span<std::uint8_t> bytes)
{
    const std::size_t got = inner_.read(bytes);
    QString event = QStringLiteral("<");
    if (got > 0)
        event += u' ' + hexBytes(bytes.first(got));
    if (got < bytes.size())
        event += QStringLiteral(" (%1 of %2)").arg(got).arg(bytes.size());
    trace(event);
    return got;
}

void TracingLink::close()
{
    inner_.close();
    trace(QStringLiteral("close"));
}

bool TracingLink::isOpen() const
{
    return inner_.isOpen();
}

void TracingLink::trace(const QString& event)
{
    const std::int64_t ms = clock_.nowMs() - startMs_;
    const QString line = QStringLiteral("%1.%2 %3\n")
                             .arg(ms / 1000)
                             .arg(ms % 1000, 3, 10, QLatin1Char('0'))
                             .arg(event);
    const QByteArray bytes = line.toLatin1();
    std::lock_guard lock(mutex_);
    if (failure_ || trace_.write(bytes) == bytes.size())
        return;
    failure_ = trace_.errorString();
    if (report_)
        report_(*failure_);
}

void TracingLink::onFailure(FailureReport report)
{
    std::lock_guard lock(mutex_);
    report_ = std::move(report);
}

std::optional<QString> TracingLink::failure() const
{
    std::lock_guard lock(mutex_);
    return failure_;
}

} // namespace q540
