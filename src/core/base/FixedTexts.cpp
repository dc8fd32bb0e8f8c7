#include "base/FixedTexts.h"

#include "base/Localisation.h"
#include "base/TransferPhase.h"

#include <QFile>
#include <algorithm>
#include <array>

namespace q540 {

namespace {

const QString kFixedTextsResource = QStringLiteral(":/texts/fixed-texts.tsv");

using LanguageTexts = std::array<QString, Localisation::kLanguageCount>;
using FixedTextTable = std::array<LanguageTexts, kFixedTextNames.size()>;

bool namesAreTheKeys(const std::vector<FixedTextRow>& rows)
{
    return std::equal(rows.begin(), rows.end(), kFixedTextNames.begin(), kFixedTextNames.end(),
                      [](const FixedTextRow& row, std::string_view name) {
                          return row.name == QLatin1StringView(name);
                      });
}

// Read once, on first use, from the file compiled into the program. A damaged file
// leaves every text empty rather than some texts in the wrong places.
FixedTextTable loadFixedTexts()
{
    FixedTextTable table;
    QFile file(kFixedTextsResource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("The texts table %s is missing from the program",
                  qPrintable(kFixedTextsResource));
        return table;
    }
    FixedTextTableParse parsed = parseFixedTextTable(file.readAll());
    // The keys were made from this same file, so names that differ mean a broken build.
    if (parsed.error.isEmpty() && !namesAreTheKeys(parsed.rows))
        parsed.error = QStringLiteral("its names are not the program's keys");
    if (!parsed.error.isEmpty()) {
        qCritical("The texts table %s is damaged, %s", qPrintable(kFixedTextsResource),
                  qPrintable(parsed.error));
        return table;
    }
    for (std::size_t key = 0; key < table.size(); ++key)
        table[key] = std::move(parsed.rows[key].cells);
    return table;
}

// A program language's place among the three; English's for other values.
std::size_t languageColumn(int language)
{
    const bool known = language >= 0 && language < Localisation::kLanguageCount;
    return std::size_t(known ? language : 1);
}

} // namespace

QLocale localeOfLanguage(int language)
{
    static const QLocale::Language kLocales[] = {QLocale::Polish, QLocale::English,
                                                 QLocale::German};
    return QLocale(kLocales[languageColumn(language)]);
}

QString fixedText(FixedText which, int language)
{
    static const FixedTextTable texts = loadFixedTexts();
    return texts[static_cast<std::size_t>(which)][languageColumn(language)];
}

QString onOffText(bool on, int language)
{
    return fixedText(on ? FixedText::On : FixedText::Off, language);
}

QString phaseText(TransferPhase phase, int language)
{
    static constexpr FixedText kNames[] = {
        FixedText::PhaseKeepingFirst, FixedText::PhaseWriting, FixedText::PhaseChecking,
        FixedText::PhaseWritingAgain, FixedText::PhaseReading, FixedText::PhaseReadingAgain,
        FixedText::PhaseConfirming,
    };
    return fixedText(kNames[static_cast<std::size_t>(phase)], language);
}

} // namespace q540
