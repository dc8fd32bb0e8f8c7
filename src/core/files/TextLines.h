#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace q540 {

// The lines of a text in order, whichever line ends it uses: LF, CR LF or a
// lone CR. Past the last line it keeps giving empty lines, because both file
// formats read missing lines at the end as empty.
class TextLines {
public:
    explicit TextLines(QStringView text) : text_(text) {}
    QStringView next();
    // How many lines next() has given that the text really held.
    int linesHeld() const { return linesHeld_; }

private:
    QStringView text_;
    qsizetype position_ = 0;
    int linesHeld_ = 0;
};

// A decimal integer with an optional sign and nothing around it; anything
// else, an empty text or a value outside int, is no integer.
std::optional<int> parseInteger(QStringView text);

// The display-time item that a stored time selects: none for 0 and below, the
// time itself for 1..15, and 15 for anything longer.
int timeIndexOfValue(int value);

// The first n code units of a text. A pair of surrogates cut in half leaves a
// replacement character, because half a pair cannot be written as UTF-8.
QString leftUnits(QStringView text, qsizetype n);

// The extension of a path's file name from its last dot, "" without a dot.
QString fileExtension(const QString& path);

} // namespace q540
