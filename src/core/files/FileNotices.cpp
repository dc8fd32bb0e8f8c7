#include "files/FileNotices.h"

#include "directory/DirectoryGrid.h"

#include <QStringList>

#include <algorithm>
#include <array>

namespace q540 {

namespace {

struct NoticeTexts {
    const char16_t* address;
    const char16_t* intro;        // %1 line
    const char16_t* entry;        // %1 zone, %2 apartment, %3 line
    const char16_t* additional;   // %1 number, %2 line
    const char16_t* cut;          // %1 where, %2 length, %3 limit
    const char16_t* linesMissing; // %1 held, %2 expected
};

const std::array<NoticeTexts, 3> kTexts{{
    {u"adres", u"wiersz intro %1", u"strefa %1, lokal %2, linia %3",
     u"numer dodatkowy %1, linia %2", u"%1: %2 znaków, pole mieści %3 – nadmiar pominięto.",
     u"Plik kończy się po %1 z %2 wierszy; brakujące wiersze wczytano jako puste."},
    {u"address", u"intro line %1", u"zone %1, apartment %2, line %3",
     u"additional number %1, line %2",
     u"%1: %2 characters, the field takes %3; the rest was left out.",
     u"The file ends after %1 of its %2 lines; the missing lines were read as empty."},
    {u"Adresse", u"Intro-Zeile %1", u"Zone %1, Wohnung %2, Zeile %3", u"Zusatznummer %1, Zeile %2",
     u"%1: %2 Zeichen, das Feld fasst %3; der Rest wurde weggelassen.",
     u"Die Datei endet nach %1 von %2 Zeilen; die fehlenden Zeilen wurden als leer gelesen."},
}};

QString text(const char16_t* t)
{
    return QString::fromUtf16(t);
}

QString placeOf(const CutValue& cut, const NoticeTexts& t)
{
    switch (cut.field) {
    case CutValue::Field::Address:
        return text(t.address);
    case CutValue::Field::Intro:
        return text(t.intro).arg(cut.index);
    case CutValue::Field::Entry:
        break;
    }
    const EntryPlace place = placeOfRow(cut.row);
    if (place.zone == kAdditionalNumberZone)
        return text(t.additional).arg(place.number).arg(cut.index);
    return text(t.entry).arg(place.zone).arg(place.number).arg(cut.index);
}

} // namespace

QString readNotice(const ReadNotes& notes, int language)
{
    const NoticeTexts& t = kTexts[std::size_t(language >= 0 && language < 3 ? language : 1)];
    // A message box has room for a few; the count says how many more there are.
    constexpr std::size_t kListed = 10;
    QStringList lines;
    const std::size_t cuts = notes.cutValues.size();
    for (std::size_t i = 0; i < std::min(cuts, kListed); ++i) {
        const CutValue& cut = notes.cutValues[i];
        lines << text(t.cut).arg(placeOf(cut, t)).arg(cut.length).arg(cut.limit);
    }
    if (cuts > kListed)
        lines << QStringLiteral("(+%1)").arg(cuts - kListed);
    if (notes.linesHeld < notes.lineCount)
        lines << text(t.linesMissing).arg(notes.linesHeld).arg(notes.lineCount);
    return lines.join(u'\n');
}

} // namespace q540
