#include "module/DirectoryVerify.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

namespace q540 {

using namespace protocol;

namespace {

constexpr int kZoneCodeMask = 7;
constexpr int kAdditionalNumberCode = 4;
constexpr int kTextTemplateLength = 35; // CharToPol's template is longer than the text

using Block = std::array<Byte, kBlockSize>;

// The text a block's codes read back as, without its trailing spaces.
QString blockText(const Block& block)
{
    Napis napis{};
    for (std::size_t i = 0; i < block.size(); ++i)
        napis[i] = block[i];
    return CharToPol(napis, QString(kTextTemplateLength, u' '), kTextLength).trimmed();
}

// Unwritten memory shows as a space, and the read gives it as one.
Block asShown(Block block)
{
    for (int i = 0; i < kTextLength; ++i)
        if (block[std::size_t(i)] == kUnwrittenByte)
            block[std::size_t(i)] = ' ';
    return block;
}

// Identifies the module again and opens it for a transfer; false when it is
// not there or the password does not match (the sink has said so).
bool beginAgain(TransferSession& session, const QString& typedPassword, ModuleStatus& status)
{
    return session.identifyAgain(status, typedPassword)
           && session.begin(status.modulePresent(), status.haslo_zgodne, kTransferTimeoutMs);
}

} // namespace

VerifyResult verifyDirectory(const TransferContext& context, const WrittenBlocks& written,
                             const QString& typedPassword, ModuleStatus& status)
{
    VerifyResult result;
    TransferSession session(context);
    if (!beginAgain(session, typedPassword, status)) {
        result.outcome = Outcome::notBegun(status.modulePresent(), status.haslo_zgodne);
        return result;
    }
    const int count = static_cast<int>(written.size());
    session.showProgress(count);
    for (int p = 0; p < count; ++p) {
        if (session.cancelRequested()) {
            session.endCancelledRead();
            result.outcome = Outcome::cancelled();
            return result;
        }
        Napis napis{};
        if (!session.receiveBlock(blockReadFrame(p), napis))
            return result;
        const Block held = blockBytes(napis);
        const Block& sent = written[std::size_t(p)];
        if (held != asShown(sent))
            result.differences.push_back({p, sent, held});
        session.stepProgress();
    }
    result.outcome = Outcome::done();
    const int language = context.texts.Nr_Jezyka();
    session.finish(result.differences.empty()
                       ? fixedText(FixedText::VerifiedAll, language).arg(count)
                       : fixedText(FixedText::VerifyDifferences, language)
                             .arg(result.differences.size())
                             .arg(count));
    return result;
}

Outcome writeAgain(const TransferContext& context, const std::vector<BlockDifference>& differences,
                   const QString& typedPassword, ModuleStatus& status)
{
    TransferSession session(context);
    if (!beginAgain(session, typedPassword, status))
        return Outcome::notBegun(status.modulePresent(), status.haslo_zgodne);
    session.showProgress(static_cast<int>(differences.size()));
    for (const BlockDifference& d : differences) {
        if (session.cancelRequested()) {
            session.finish();
            return Outcome::cancelled();
        }
        if (!session.writeBlock(blockWriteFrame(d.position), d.written))
            return Outcome::failed();
        session.stepProgress();
    }
    session.finish(
        fixedText(FixedText::WrittenAgain, context.texts.Nr_Jezyka()).arg(differences.size()));
    return Outcome::done();
}

QString differenceText(const BlockDifference& difference, int language)
{
    const int zoneCode = difference.written[kZoneByte] & kZoneCodeMask;
    const int apartment = difference.written[kApartmentByte];
    const int zone = zoneCode == kAdditionalNumberCode ? kAdditionalNumberZone : zoneCode + 1;
    const QString where = entryPlaceText({zone, apartment}, language);
    return fixedText(FixedText::DifferenceLine, language)
        .arg(where, blockText(difference.written), blockText(difference.held));
}

} // namespace q540
