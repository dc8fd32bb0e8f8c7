#include "module/DirectoryVerify.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "module/Configuration.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

namespace q540 {

using namespace protocol;

namespace {

constexpr int kZoneCodeMask = 7;
constexpr int kAdditionalNumberCode = 4;
constexpr int kTextTemplateLength = 35; // fromModuleCodes's template is longer than the text

using Block = std::array<Byte, kBlockSize>;

// The text a block's codes read back as, without its trailing spaces.
QString blockText(const Block& block)
{
    CellBlock cellBlock{};
    for (std::size_t i = 0; i < block.size(); ++i)
        cellBlock[i] = block[i];
    return fromModuleCodes(cellBlock, QString(kTextTemplateLength, u' '), kTextLength).trimmed();
}

// Unwritten memory shows as a space, and the read gives it as one. The
// configuration nibble in the zone byte is compared as the configuration,
// setting by setting, so that a block names only what belongs to its entry.
Block asShown(Block block)
{
    constexpr Byte kZoneCodeBits = 0x0F;
    for (int i = 0; i < kTextLength; ++i)
        if (block[std::size_t(i)] == kUnwrittenByte)
            block[std::size_t(i)] = ' ';
    block[kZoneByte] &= kZoneCodeBits;
    return block;
}

// Identifies the module again and opens it for a transfer; false when it is
// not there (the sink has said so). The password does not gate a check or
// its mending: the write before it has just been let through.
bool beginAgain(TransferSession& session, const QString& typedPassword, ModuleStatus& status)
{
    return session.identifyAgain(status, typedPassword)
           && session.begin(status.modulePresent(), true, kTransferTimeoutMs);
}

} // namespace

VerifyResult verifyDirectory(const TransferContext& context, const WrittenDirectory& written,
                             const QString& typedPassword, ModuleStatus& status)
{
    VerifyResult result;
    TransferSession session(context);
    if (!beginAgain(session, typedPassword, status)) {
        result.outcome = Outcome::notBegun(status.modulePresent(), true);
        return result;
    }
    // The identification has just read the configuration block afresh.
    if (status.configuration)
        result.configuration = compareConfiguration(written.configuration, *status.configuration);
    const int count = static_cast<int>(written.blocks.size());
    session.showProgress(count);
    for (int p = 0; p < count; ++p) {
        if (session.cancelRequested()) {
            session.endCancelledRead();
            result.outcome = Outcome::cancelled();
            return result;
        }
        CellBlock cellBlock{};
        if (!session.receiveBlock(blockReadFrame(p), cellBlock))
            return result;
        const Block held = blockBytes(cellBlock);
        const Block& sent = written.blocks[std::size_t(p)];
        if (asShown(held) != asShown(sent))
            result.differences.push_back({p, sent, held});
        session.stepProgress();
    }
    result.outcome = Outcome::done();
    const int language = context.texts.language();
    session.finish(result.matches() ? fixedText(FixedText::VerifiedAll, language).arg(count)
                                    : fixedText(FixedText::VerifyDifferences, language)
                                          .arg(result.differences.size())
                                          .arg(count));
    return result;
}

WriteAgainResult writeAgain(const TransferContext& context, const WrittenDirectory& written,
                            const VerifyResult& found, const QString& typedPassword,
                            ModuleStatus& status)
{
    WriteAgainResult result;
    TransferSession session(context);
    if (!beginAgain(session, typedPassword, status)) {
        result.outcome = Outcome::notBegun(status.modulePresent(), true);
        return result;
    }
    session.showProgress(found.differenceCount());
    for (const BlockDifference& d : found.differences) {
        if (session.cancelRequested()) {
            session.finish();
            result.outcome = Outcome::cancelled();
            return result;
        }
        if (!session.writeBlock(blockWriteFrame(d.position), d.written))
            return result;
        ++result.rewritten;
        session.stepProgress();
    }
    if (!found.configuration.empty()) {
        if (session.cancelRequested()) {
            session.finish();
            result.outcome = Outcome::cancelled();
            return result;
        }
        if (!writeConfigurationOnItsOwn(session, written))
            return result;
        ++result.rewritten;
    }
    session.finish(
        fixedText(FixedText::WrittenAgain, context.texts.language()).arg(result.rewritten));
    result.outcome = Outcome::done();
    return result;
}

QString differenceText(const BlockDifference& difference, int language)
{
    const Block& w = difference.written;
    const Block held = difference.held;
    const int zoneCode = w[kZoneByte] & kZoneCodeMask;
    const int apartment = w[kApartmentByte];
    const int zone = zoneCode == kAdditionalNumberCode ? kAdditionalNumberZone : zoneCode + 1;
    const QString where = entryPlaceText({zone, apartment}, language);
    const QString writtenText = blockText(w);
    const QString heldText = blockText(held);
    const bool numberDiffers = held[kApartmentByte] != w[kApartmentByte];
    const bool zoneDiffers = (held[kZoneByte] & kZoneCodeMask) != zoneCode;
    if (!numberDiffers && !zoneDiffers)
        return fixedText(FixedText::DifferenceLine, language).arg(where, writtenText, heldText);
    QStringList parts;
    if (writtenText != heldText)
        parts << fixedText(FixedText::DifferenceInText, language).arg(writtenText, heldText);
    if (numberDiffers)
        parts << fixedText(FixedText::DifferenceInNumber, language)
                     .arg(w[kApartmentByte])
                     .arg(held[kApartmentByte]);
    if (zoneDiffers)
        parts << fixedText(FixedText::DifferenceInZone, language)
                     .arg(zoneCode + 1)
                     .arg((held[kZoneByte] & kZoneCodeMask) + 1);
    return where + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}

QStringList differenceLines(const VerifyResult& found, int language)
{
    QStringList lines;
    for (const BlockDifference& d : found.differences)
        lines << differenceText(d, language);
    for (const ConfigurationDifference& d : found.configuration)
        lines << differenceText(d, language);
    return lines;
}

} // namespace q540
