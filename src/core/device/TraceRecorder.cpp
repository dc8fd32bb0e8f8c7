#include "device/TraceRecorder.h"

#include "device/TracingLink.h"
#include "protocol/ConfigurationBlock.h"
#include "protocol/Protocol.h"

#include <QBuffer>
#include <QRegularExpression>

#include <functional>
#include <optional>

namespace q540 {

struct TraceRecorder::Session {
    Session(Link& inner, const Clock& clock, QIODevice::OpenMode mode) : link(inner, buffer, clock)
    {
        buffer.open(mode);
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

TraceRecorder::TraceRecorder(Link& inner, const Clock& clock, std::size_t kept,
                             QIODevice::OpenMode traceMode)
    : inner_(inner), clock_(clock), kept_(kept), traceMode_(traceMode)
{
}

void TraceRecorder::onFailure(std::function<void(const QString&)> report)
{
    report_ = std::move(report);
}

TraceRecorder::~TraceRecorder()
{
    close();
}

bool TraceRecorder::open()
{
    if (session_)
        return false;
    session_ = std::make_unique<Session>(inner_, clock_, traceMode_);
    // Each connection has a link of its own; a trace that cannot be written
    // (the poll's, every few seconds) is told once all the same.
    session_->link.onFailure([this](const QString& reason) {
        if (!failed_.exchange(true) && report_)
            report_(reason);
    });
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

namespace {

// A trace line of bytes: "<time> > b0 b1 …" written, "<time> < b0 b1 …"
// read, "(n of m)" after a read that came short.
struct ByteLine {
    QString head; // the time and the direction
    bool sent = false;
    QStringList bytes;
    QString shortBy; // "(n of m)", or empty
    int asked = 0;   // the bytes a read asked for, or those written
};

std::optional<ByteLine> byteLineOf(const QString& text)
{
    static const QRegularExpression line(
        QStringLiteral("^([0-9.]+ ([<>]) )((?:[0-9A-F*]{2} ?)*)(\\(([0-9]+) of ([0-9]+)\\))?$"));
    const QRegularExpressionMatch m = line.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    ByteLine parsed{m.captured(1), m.captured(2) == u">",
                    m.captured(3).split(u' ', Qt::SkipEmptyParts), m.captured(4), 0};
    parsed.asked = parsed.shortBy.isEmpty() ? int(parsed.bytes.size()) : m.captured(6).toInt();
    return parsed;
}

QString textOf(const ByteLine& line)
{
    QString text = line.head + line.bytes.join(u' ');
    if (!line.shortBy.isEmpty())
        text += (line.bytes.isEmpty() ? QString() : QStringLiteral(" ")) + line.shortBy;
    return text;
}

// Rewrites every byte line of a trace; what else it holds stays as it is.
QString rewriteByteLines(const QString& trace, const std::function<void(ByteLine&)>& rewrite)
{
    QStringList lines = trace.split(u'\n');
    for (QString& text : lines) {
        if (std::optional<ByteLine> line = byteLineOf(text)) {
            rewrite(*line);
            text = textOf(*line);
        }
    }
    return lines.join(u'\n');
}

// The byte at index with its high half, where the configuration keeps its
// nibble, shown as "*": "C1" becomes "*1".
void maskHighNibble(ByteLine& line, qsizetype index)
{
    if (index < line.bytes.size())
        line.bytes[index][0] = u'*';
}

QString frameText(const protocol::Frame& frame)
{
    QStringList bytes;
    for (const protocol::Byte b : frame)
        bytes << QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return bytes.join(u' ');
}

// Whether a block frame ("> 16 03 1A", "> 17 05 1D") is of a position whose
// zone byte carries a password nibble.
bool carriesPasswordNibble(const QStringList& frame)
{
    using namespace protocol;
    const int command = frame[0].toInt(nullptr, 16);
    const int position = frame[1].toInt(nullptr, 16);
    return (command == kBankWriteCommands[0] || command == kBankReadCommands[0])
           && position >= kFirstPasswordNibble && position <= kLastPasswordNibble;
}

} // namespace

QString maskDirectoryText(const QString& trace)
{
    // The 32 bytes of a block written, the 33 of a block read.
    return rewriteByteLines(trace, [](ByteLine& line) {
        if (line.asked != protocol::kBlockSize && line.asked != protocol::kBlockSize + 1)
            return;
        for (qsizetype i = 0; i < line.bytes.size() && i < protocol::kTextLength; ++i)
            line.bytes[i] = QStringLiteral("**");
    });
}

QString maskPassword(const QString& trace)
{
    using namespace protocol;
    static const QString readConfiguration = frameText(frame(kReadConfiguration));
    static const QString writeConfiguration = frameText(frame(kWriteConfiguration));
    static const QString writePassword = frameText(frame(kWritePassword));
    // What a line carries is told by the frame written before it: a frame is
    // the only write of three bytes.
    QStringList lastFrame;
    return rewriteByteLines(trace, [&lastFrame](ByteLine& line) {
        if (line.sent && line.bytes.size() == qsizetype(Frame().size())) {
            lastFrame = line.bytes;
            return;
        }
        if (lastFrame.isEmpty())
            return;
        const QString frame = lastFrame.join(u' ');
        const bool configuration = (frame == readConfiguration && !line.sent)
                                   || (frame == writeConfiguration && line.sent);
        if (configuration)
            for (int nibble = kFirstPasswordNibble; nibble <= kLastPasswordNibble; ++nibble)
                maskHighNibble(line, nibble);
        else if (frame == writePassword && line.sent)
            line.bytes.fill(QStringLiteral("**"));
        else if (carriesPasswordNibble(lastFrame))
            maskHighNibble(line, kZoneByte);
    });
}

} // namespace q540
