#pragma once

#include "base/FixedTextKeys.h"

#include <QLocale>
#include <QString>

namespace q540 {

// The program's own texts are those not in the texts table, which holds the module
// program's texts only. They live in resources/texts/fixed-texts.tsv, each in the three
// program languages; FixedText names them (generated from that file).

// The text in a program language 0 (Polish), 1 (English) or 2 (German);
// callers choose their own fallback for other values, this gives English.
QString fixedText(FixedText which, int language);

// A switch's state in words: "on" or "off".
QString onOffText(bool on, int language);

// The locale that dates and numbers are written in for a program language
// (as fixedText picks it: English for other values).
QLocale localeOfLanguage(int language);

} // namespace q540
