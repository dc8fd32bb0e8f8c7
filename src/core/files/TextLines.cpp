#include "files/TextLines.h"

#include "directory/IntroScreens.h"

#include <QChar>

#include <algorithm>
#include <limits>

namespace q540 {

QStringView TextLines::next()
{
    const qsizetype start = position_;
    if (start < text_.size())
        ++linesHeld_;
    qsizetype end = start;
    while (end < text_.size() && text_[end] != u'\r' && text_[end] != u'\n')
        ++end;
    position_ = end;
    if (position_ < text_.size()) {
        const bool crlf = text_[position_] == u'\r' && position_ + 1 < text_.size()
                          && text_[position_ + 1] == u'\n';
        position_ += crlf ? 2 : 1;
    }
    return text_.sliced(start, end - start);
}

std::optional<int> parseInteger(QStringView text)
{
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    // Accumulated as a negative number, which reaches the most negative int.
    constexpr long long kLowest = std::numeric_limits<int>::min();
    long long value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 - (c.unicode() - u'0');
        if (value < kLowest)
            return std::nullopt;
    }
    if (!negative && -value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(negative ? value : -value);
}

int timeIndexOfValue(int value)
{
    if (value <= 0)
        return kIntroTimeNone;
    return std::min(value, kIntroTimeItemCount) - 1;
}

QString leftUnits(QStringView text, qsizetype n)
{
    QString cut = text.left(n).toString();
    if (!cut.isEmpty() && cut.back().isHighSurrogate())
        cut.back() = QChar::ReplacementCharacter;
    return cut;
}

QString fileExtension(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? path.mid(dot) : QString();
}

} // namespace q540
