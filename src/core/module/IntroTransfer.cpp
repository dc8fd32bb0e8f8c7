#include "module/IntroTransfer.h"

#include "base/Localisation.h"
#include "device/Clock.h"
#include "device/Link.h"
#include "module/Configuration.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

#include <algorithm>

namespace q540 {

using namespace protocol;

namespace {

constexpr int screenPosition(int screen)
{
    return kFirstIntroPosition + screen - 1;
}

QString withoutTrailingSpaces(QString line)
{
    qsizetype length = line.size();
    while (length > 0 && line.at(length - 1) == u' ')
        --length;
    line.truncate(length);
    return line;
}

// A line longer than the display (loaded from a file) is cut here: sent
// whole, its tail would become the start of the screen's second line.
CellBlock screenText(const QString& line1, const QString& line2)
{
    const QString text = line1.left(kIntroLineLength).leftJustified(kIntroLineLength, u' ')
                         + line2.left(kIntroLineLength).leftJustified(kIntroLineLength, u' ');
    CellBlock cellBlock{};
    for (std::size_t i = 0; i < cellBlock.size(); ++i)
        cellBlock[i] = text.at(static_cast<qsizetype>(i)).unicode();
    return cellBlock;
}

// A reply that does not check leaves the selection as it was, without a message.
void readIntroTime(TransferSession& session, ModuleStatus& status)
{
    session.sendUnacknowledged(frame(kReadIntroTime));
    std::array<Byte, kIntroTimeReplyLength> reply{};
    session.link().read(reply);
    if (!isValidStatusReply(reply))
        return;
    const int seconds = std::clamp<int>(reply[1], kShortestIntroTime, kLongestIntroTime);
    status.introTimeIndex = seconds - kShortestIntroTime;
}

} // namespace

IntroRead receiveIntro(const TransferContext& context, const IntroLines& current,
                       ModuleStatus& status)
{
    IntroLines lines = current;
    TransferSession session(context);
    if (!session.begin(status.modulePresent(), status.passwordConfirmed(), kShortTimeoutMs))
        return {Outcome::notBegun(status.modulePresent(), status.passwordConfirmed()), lines};
    session.showProgress(protocol::kIntroScreenCount);
    for (int screen = 1; screen <= protocol::kIntroScreenCount; ++screen) {
        if (screen > 1)
            session.stepProgress();
        if (session.cancelRequested()) {
            session.endCancelledRead();
            return {Outcome::cancelled(), current};
        }
        CellBlock cellBlock{};
        if (!session.receiveBlock(blockReadFrame(screenPosition(screen)), cellBlock))
            return {Outcome::failed(), lines};
        const QString text = fromModuleCodes(cellBlock, QString(kBlockSize, u' '), kBlockSize);
        const auto line1 = static_cast<std::size_t>(2 * (screen - 1));
        lines[line1] = withoutTrailingSpaces(text.left(kIntroLineLength));
        lines[line1 + 1] = withoutTrailingSpaces(text.mid(kIntroLineLength, kIntroLineLength));
    }
    session.stepProgress();
    context.clock.sleep(kIntroScreenPauseMs);
    readIntroTime(session, status);
    session.finish();
    return {Outcome::done(), lines};
}

Outcome sendIntro(const TransferContext& context, const IntroLines& lines,
                  const ModuleStatus& status)
{
    // Every screen is converted before the device opens: a character the
    // module cannot show stops the write before any screen has changed.
    std::array<CellBlock, protocol::kIntroScreenCount> screens{};
    for (int screen = 1; screen <= protocol::kIntroScreenCount; ++screen) {
        const auto line1 = static_cast<std::size_t>(2 * (screen - 1));
        CellBlock& cellBlock = screens[std::size_t(screen - 1)];
        cellBlock = screenText(lines[line1], lines[line1 + 1]);
        bool refused = false;
        if (!toModuleCodes(cellBlock, screen, true, refused, context.sink,
                           context.texts.language()))
            return Outcome::refused(Outcome::Refusal::Content);
    }
    TransferSession session(context);
    if (!session.begin(status.modulePresent(), status.passwordConfirmed(), kShortTimeoutMs))
        return Outcome::notBegun(status.modulePresent(), status.passwordConfirmed());
    session.showProgress(protocol::kIntroScreenCount + 1);
    const auto stopped = [&session](bool cancelled, int written) {
        session.endWrite(cancelled, written, protocol::kIntroScreenCount,
                         FixedText::IntroScreensWritten, FixedText::NothingWritten);
        return cancelled ? Outcome::cancelled() : Outcome::failed();
    };
    for (int screen = 1; screen <= protocol::kIntroScreenCount; ++screen) {
        if (session.cancelRequested())
            return stopped(true, screen - 1);
        const CellBlock& cellBlock = screens[std::size_t(screen - 1)];
        if (!session.writeBlock(blockWriteFrame(screenPosition(screen)), blockBytes(cellBlock)))
            return stopped(false, screen - 1);
        session.stepProgress();
        context.clock.sleep(kIntroScreenPauseMs);
    }
    if (!session.sendAcknowledged(frame(kWriteIntroTime)))
        return stopped(false, protocol::kIntroScreenCount);
    const std::array<Byte, 1> time{static_cast<Byte>(introTimeSeconds(status.introTimeIndex))};
    session.sendUnacknowledged(time);
    session.stepProgress();
    context.clock.sleep(kIntroScreenPauseMs);
    session.sendUnacknowledged(frame(kCloseIntroWrite));
    session.finish();
    return Outcome::done();
}

} // namespace q540
