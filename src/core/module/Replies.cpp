#include "module/Replies.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "device/Link.h"
#include "protocol/Protocol.h"

#include <QtGlobal>

namespace q540 {

using namespace protocol;

namespace {

void reportTransmissionError(UserSink& sink, int languageIndex)
{
    if (const auto text = transmissionErrorText(languageIndex))
        sink.showMessage(*text);
    sink.hideProgress();
}

} // namespace

std::optional<QString> transmissionErrorText(int languageIndex)
{
    // Outside the three languages the module program shows nothing.
    if (languageIndex < 0 || languageIndex >= Localisation::kLanguageCount)
        return std::nullopt;
    return fixedText(FixedText::TransmissionError, languageIndex);
}

bool CzyJestOdpZ(Link& link, UserSink& sink, int languageIndex)
{
    for (int attempt = 0; attempt < kAckReadAttempts; ++attempt) {
        std::array<Byte, 1> received{0};
        link.read(received);
        if (received[0] == kEndByte)
            return true;
    }
    link.close();
    reportTransmissionError(sink, languageIndex);
    return false;
}

bool CzyJestOdpO2(Link& link, UserSink& sink, int languageIndex, int n, CellBlock& cellBlock)
{
    Q_ASSERT(n >= 0 && n <= kBlockSize);
    const auto replyLength = static_cast<std::size_t>(n + 1);
    std::array<Byte, kBlockSize + 1> buffer{};
    for (int attempt = 0; attempt < kDataReplyAttempts; ++attempt) {
        link.read(std::span<Byte>(buffer).first(replyLength));
        if (buffer[static_cast<std::size_t>(n)] != kEndByte)
            continue;
        for (std::size_t i = 0; i < cellBlock.size(); ++i) {
            const Byte b = buffer[i];
            cellBlock[i] = (i < kTextLength && b == kUnwrittenByte) ? ' ' : b;
        }
        return true;
    }
    reportTransmissionError(sink, languageIndex);
    return false;
}

} // namespace q540
