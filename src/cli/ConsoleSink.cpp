#include "cli/ConsoleSink.h"

#include "base/PrintableText.h"
#include "cli/Cli.h"

#include <csignal>

#include <unistd.h>

namespace q540::cli {

namespace {

constexpr int kBarWidth = 40;

} // namespace

namespace {

// The signal number, so that the exit code can name it; 0 before any came.
volatile std::sig_atomic_t interruptingSignal = 0;

} // namespace

void requestInterrupt(int signal)
{
    interruptingSignal = signal;
}

int interruptSignal()
{
    return interruptingSignal;
}

bool interrupted()
{
    return interruptingSignal != 0;
}

bool ConsoleSink::cancelRequested()
{
    return interrupted();
}

ConsoleSink::ConsoleSink(QTextStream& err, bool answerYes, int language)
    : err_(err), answerYes_(answerYes), language_(language), terminal_(isatty(STDERR_FILENO) == 1)
{
}

ConsoleSink::~ConsoleSink()
{
    endRepeats();
}

void ConsoleSink::showMessage(const QString& text)
{
    const bool repeat = !lastMessage_.isNull() && lastMessage_ == text;
    lastMessage_ = text;
    if (repeat) {
        ++repeats_;
        return;
    }
    endRepeats();
    if (progressShown_ && terminal_)
        err_ << '\n';
    // The core's messages embed names and lines of files as they are.
    err_ << printableLines(text.trimmed()) << Qt::endl;
}

void ConsoleSink::endRepeats()
{
    if (repeats_ > 0)
        err_ << "(the same " << repeats_ << " more times)" << Qt::endl;
    repeats_ = 0;
}

bool ConsoleSink::askYesNo(const QString& text, const QString&)
{
    endRepeats();
    err_ << printableText(text.simplified()) << ' ' << (answerYes_ ? "yes" : "no") << Qt::endl;
    return answerYes_;
}

void ConsoleSink::showProgress(int maximum)
{
    // Without a bar a script's log still tells reading the backup from
    // writing and checking, once a phase's transfer has begun.
    if (phaseToLog_) {
        endRepeats();
        err_ << phase_ << "..." << Qt::endl;
        phaseToLog_ = false;
    }
    maximum_ = maximum;
    position_ = 0;
    timeLeft_.clear();
    progressShown_ = true;
    drawProgress();
}

void ConsoleSink::stepProgress()
{
    ++position_;
    drawProgress();
}

void ConsoleSink::showTimeLeft(const QString& text)
{
    timeLeft_ = text;
    drawProgress();
}

void ConsoleSink::showPhase(TransferPhase phase)
{
    phase_ = phaseText(phase, language_);
    phaseToLog_ = !terminal_;
}

void ConsoleSink::hideProgress()
{
    if (progressShown_ && terminal_)
        err_ << '\n' << Qt::flush;
    progressShown_ = false;
}

void ConsoleSink::drawProgress()
{
    if (!terminal_)
        return;
    const int filled = maximum_ > 0 ? kBarWidth * std::min(position_, maximum_) / maximum_ : 0;
    err_ << '\r' << phase_ << (phase_.isEmpty() ? "" : " ") << '[' << QString(filled, u'#')
         << QString(kBarWidth - filled, u' ') << "] " << position_ << '/' << maximum_;
    // The line only grows while the bar is shown; a shorter estimate must not
    // leave the end of a longer one behind.
    if (!timeLeft_.isEmpty())
        err_ << "  " << timeLeft_ << "\x1b[K";
    err_ << Qt::flush;
}

} // namespace q540::cli
