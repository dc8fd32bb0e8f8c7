#include "device/TraceRecorder.h"

#include "device/TracingLink.h"
#include "protocol/Protocol.h"

#include <QBuffer>
#include <QRegularExpression>

namespace q540 {

struct TraceRecorder::Session {
    Session(Link& inner, const Clock& clock) : link(inner, buffer, clock)
    {
        buffer.open(QIODevice::WriteOnly);
    }
    QDateTime started = QDateTime::currentDateTime();
    QBuffer buffer;
    TracingLink link;
};

namespace {

// The trace's lines without their time stamps: what makes two connections the same.
QString withoutTimes(const QString& trace)
{
    static const QRegularExpression stamp(QStringLiteral("(^|\\n)[0-9]+\\.[0-9]{3} "));
    return QString(trace).replace(stamp, QStringLiteral("\\1"));
}

} // namespace

TraceRecorder::TraceRecorder(Link& inner, const Clock& clock, std::size_t kept)
    : inner_(inner), clock_(clock), kept_(kept)
{
}

TraceRecorder::~TraceRecorder()
{
    close();
}

bool TraceRecorder::open()
{
    if (session_)
        return false;
    session_ = std::make_unique<Session>(inner_, clock_);
    const bool opened = session_->link.open();
    if (!opened)
        close(); // a failed open is a connection of its own, kept like one
    return opened;
}

void TraceRecorder::setBaudRate(int baud)
{
    if (session_)
        session_->link.setBaudRate(baud);
}

void TraceRecorder::setTimeouts(int readMs, int writeMs)
{
    if (session_)
        session_->link.setTimeouts(readMs, writeMs);
}

void TraceRecorder::write(std::span<const std::uint8_t> bytes)
{
    if (session_)
        session_->link.write(bytes);
}

std::size_t TraceRecorder::read(std::span<std::uint8_t> bytes)
{
    return session_ ? session_->link.read(bytes) : 0;
}

void TraceRecorder::close()
{
    if (!session_)
        return;
    if (inner_.isOpen())
        session_->link.close();
    keep({session_->started, QString::fromLatin1(session_->buffer.data())});
    session_.reset();
}

void TraceRecorder::keep(RecordedTrace trace)
{
    std::lock_guard lock(mutex_);
    if (!traces_.empty() && withoutTimes(traces_.back().text) == withoutTimes(trace.text)) {
        ++traces_.back().repeats;
        return;
    }
    traces_.push_back(std::move(trace));
    while (traces_.size() > kept_)
        traces_.pop_front();
}

std::vector<RecordedTrace> TraceRecorder::traces() const
{
    std::lock_guard lock(mutex_);
    return {traces_.begin(), traces_.end()};
}

QString maskDirectoryText(const QString& trace)
{
    // "> b0 b1 ..." of a 32-byte block written, "< b0 b1 ..." of the 33 bytes
    // of a block read, "(n of 33)" when one came short.
    static const QRegularExpression line(
        QStringLiteral("^([0-9.]+ [<>] )((?:[0-9A-F]{2} ?)+)(\\(([0-9]+) of ([0-9]+)\\))?$"));
    QStringList lines = trace.split(u'\n');
    for (QString& text : lines) {
        const QRegularExpressionMatch m = line.match(text);
        if (!m.hasMatch())
            continue;
        QStringList bytes = m.captured(2).split(u' ', Qt::SkipEmptyParts);
        const int asked = m.captured(5).isEmpty() ? int(bytes.size()) : m.captured(5).toInt();
        const bool block = asked == protocol::kBlockSize || asked == protocol::kBlockSize + 1;
        if (!block)
            continue;
        for (qsizetype i = 0; i < bytes.size() && i < protocol::kTextLength; ++i)
            bytes[i] = QStringLiteral("**");
        text = m.captured(1) + bytes.join(u' ')
               + (m.captured(3).isEmpty() ? QString() : u' ' + m.captured(3));
    }
    return lines.join(u'\n');
}

} // namespace q540
