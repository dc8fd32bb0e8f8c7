#include "module/DirectoryWrite.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "device/Clock.h"
#include "module/Configuration.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

#include <optional>
#include <vector>

namespace q540 {

using namespace protocol;

namespace {

// The block an erase leaves: 30 spaces for apartment 1 of zone 1, no configuration.
constexpr int kEraseApartment = 1;
constexpr Byte kEraseZoneByte = 0;

int zoneCode(const NameRow& row)
{
    return row.zone - 1;
}

QString overLimitText(int excess)
{
    // The module's limit is told in Polish whatever the program's language.
    return QStringLiteral("Przekroczono o:  ") + QString::number(excess)
           + QStringLiteral(" ilość wpisów\n Maksymalna ilość to 1020 wpisów");
}

void fillEraseBlock(CellBlock& cellBlock)
{
    for (int i = 0; i < kTextLength; ++i)
        cellBlock[static_cast<std::size_t>(i)] = ' ';
    cellBlock[kApartmentByte] = kEraseApartment;
    cellBlock[kZoneByte] = kEraseZoneByte;
}

// The module codes of every row's 30 characters, converted before anything is
// sent: a character the module cannot show stops the write with its message
// while the module still holds its old directory whole.
std::optional<std::vector<CellBlock>> entryTexts(const std::vector<NameRow>& rows, UserSink& sink,
                                                 int languageIndex)
{
    std::vector<CellBlock> texts(rows.size());
    for (std::size_t p = 0; p < rows.size(); ++p) {
        const NameRow& row = rows[p];
        CellBlock& cellBlock = texts[p];
        for (int i = 0; i < kTextLength; ++i)
            cellBlock[std::size_t(i)] = i < row.text.size() ? row.text.at(i).unicode() : ' ';
        bool refused = false;
        if (!toModuleCodes(cellBlock, row.apartment, false, refused, sink, languageIndex))
            return std::nullopt;
    }
    return texts;
}

// The block of list row `position`: its text's codes, apartment and zone byte.
CellBlock entryBlock(const CellBlock& text, const NameRow& row, int position,
                     const ConfigurationNibbles& nibbles)
{
    CellBlock cellBlock = text;
    cellBlock[kApartmentByte] = row.apartment;
    const int nibble =
        position < kConfigurationSize ? nibbles[static_cast<std::size_t>(position)] : 0;
    cellBlock[kZoneByte] = zoneByte(zoneCode(row), nibble);
    return cellBlock;
}

// How far the entries went: the blocks the module acknowledged, and whether
// the user stopped the write or a block failed.
struct EntriesSent {
    int written = 0;
    bool cancelled = false;
    bool failed = false;
};

EntriesSent writeEntries(TransferSession& session, const std::vector<NameRow>& rows,
                         const std::vector<CellBlock>& texts, int countField,
                         const ConfigurationNibbles& nibbles, WrittenBlocks& written)
{
    for (int p = 0; p <= countField; ++p) {
        if (session.cancelRequested())
            return {p, true, false};
        CellBlock cellBlock{};
        if (rows.empty())
            fillEraseBlock(cellBlock);
        else
            cellBlock = entryBlock(texts[std::size_t(p)], rows[std::size_t(p)], p, nibbles);
        const std::array<Byte, kBlockSize> bytes = blockBytes(cellBlock);
        written.push_back(bytes);
        if (!session.writeBlock(blockWriteFrame(p), bytes))
            return {p, false, true};
        session.stepProgress();
    }
    return {countField + 1, false, false};
}

} // namespace

bool askToErase(UserSink& sink, const Localisation& texts)
{
    return sink.askYesNo(texts.text(textkey::kNoEntries) + u'\n'
                             + texts.text(textkey::kEraseWholeMemory),
                         QString());
}

std::array<Byte, kConfigurationSize> WrittenDirectory::configurationBytes() const
{
    constexpr Byte kZoneCodeBits = 0x0F;
    std::array<Byte, kConfigurationSize> bytes{};
    for (std::size_t k = 0; k < bytes.size(); ++k)
        bytes[k] = zoneByte(k < blocks.size() ? blocks[k][kZoneByte] & kZoneCodeBits : 0,
                            configuration[k]);
    return bytes;
}

// With fewer than sixteen blocks written, part of the configuration has not
// reached the module; it goes on its own, over the zone bytes of 0..15.
bool writeConfigurationOnItsOwn(TransferSession& session, const WrittenDirectory& written)
{
    session.clock().sleep(kConfigurationWritePauseMs);
    return session.writeBlock(frame(kWriteConfiguration), written.configurationBytes());
}

Outcome sendDirectory(const TransferContext& context, const std::vector<NameRow>& rows,
                      const QString& typedPassword, ModuleStatus& status,
                      const WriteOptions& options)
{
    const bool erase = rows.empty();
    if (erase && !options.eraseConfirmed && !askToErase(context.sink, context.texts))
        return Outcome::cancelled();
    const int countField = erase ? 0 : static_cast<int>(rows.size()) - 1;
    const std::optional<std::vector<CellBlock>> texts =
        entryTexts(rows, context.sink, context.texts.language());
    if (!texts)
        return Outcome::refused(Outcome::Refusal::Content);

    TransferSession session(context);
    if (!session.identifyAgain(status, typedPassword))
        return Outcome::failed();
    if (options.chooseSettings)
        options.chooseSettings(status);
    context.clock.sleep(kIdentificationSettleMs);
    if (!session.begin(status.modulePresent(), status.passwordConfirmed(), kTransferTimeoutMs))
        return Outcome::notBegun(status.modulePresent(), status.passwordConfirmed());
    session.showProgress(countField);
    if (countField >= kEntryCapacity) {
        context.sink.showMessage(overLimitText(countField - (kEntryCapacity - 1)));
        return Outcome::refused(Outcome::Refusal::OverCapacity);
    }
    const ConfigurationNibbles nibbles = configurationNibbles(countField, typedPassword, status);
    // A write that stops leaves the module claiming the new count with only
    // part of it there: the user is told how far it got.
    const int total = countField + 1;
    WrittenDirectory local;
    WrittenDirectory& written = options.written ? *options.written : local;
    written = {{}, nibbles};
    const EntriesSent sent =
        writeEntries(session, rows, *texts, countField, nibbles, written.blocks);
    if (sent.cancelled || sent.failed) {
        session.endWrite(sent.cancelled, sent.written, total, FixedText::EntriesWritten,
                         FixedText::NothingWritten);
        return sent.cancelled ? Outcome::cancelled() : Outcome::failed();
    }
    if (written.configurationOnItsOwn() && !writeConfigurationOnItsOwn(session, written)) {
        session.endWrite(false, total, total, FixedText::EntriesWritten, FixedText::NothingWritten);
        return Outcome::failed();
    }
    // The module now claims the new count; the tool bar and the next write's
    // question whether to keep a copy first go by it.
    status.entryCount = total;
    if (erase || options.note.isEmpty())
        session.finish(context.texts.text(erase ? textkey::kDataErased : textkey::kDataWritten));
    else
        session.finish(context.texts.text(textkey::kDataWritten) + u'\n' + options.note);
    return Outcome::done();
}

} // namespace q540
