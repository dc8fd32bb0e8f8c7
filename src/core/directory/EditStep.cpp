#include "directory/EditStep.h"

#include "base/FixedTexts.h"
#include "directory/DirectoryPage.h"

#include <array>

namespace q540 {

namespace {

using Kind = EditStep::Kind;
using Field = EditStep::Field;

// By kind; %1 the place (typing, paste, pasted rows) or the file's name.
const std::array<LanguageRow, 11> kStepNames{{
    {u"pisanie (%1)", u"typing in %1", u"Eingabe in %1"},
    {u"wklejenie (%1)", u"paste into %1", u"Einfügen in %1"},
    {u"wklejenie wierszy od %1", u"pasted rows from %1", u"eingefügte Zeilen ab %1"},
    {u"nowy katalog", u"new directory", u"neues Verzeichnis"},
    {u"otwarcie %1", u"opening %1", u"Öffnen von %1"},
    {u"import %1", u"import of %1", u"Import von %1"},
    {u"import tabeli", u"table import", u"Tabellenimport"},
    {u"odczyt z modułu", u"read from the module", u"Lesen aus dem Modul"},
    {u"odczyt ekranów intro z modułu", u"intro read from the module",
     u"Lesen der Intro-Bildschirme aus dem Modul"},
    {u"kopia z historii", u"copy from the history", u"Kopie aus dem Verlauf"},
    {u"zmiana czasu wyświetlania", u"change of the display time", u"Änderung der Anzeigedauer"},
}};

const LanguageRow kIntroScreen{u"ekran intro %1", u"intro screen %1", u"Intro-Bildschirm %1"};
const LanguageRow kAddress{u"adres", u"the address", u"die Adresse"};
const LanguageRow kDisplayTime{u"czas wyświetlania", u"the display time", u"die Anzeigedauer"};
const LanguageRow kUndo{u"Cofnij", u"Undo", u"Rückgängig"};
const LanguageRow kRedo{u"Ponów", u"Redo", u"Wiederherstellen"};
// German names the step after a colon: "Rückgängig: Eingabe in Zone 2, Wohnung 17".
const LanguageRow kUndoStep{u"Cofnij %1", u"Undo %1", u"Rückgängig: %1"};
const LanguageRow kRedoStep{u"Ponów %1", u"Redo %1", u"Wiederherstellen: %1"};

QString fieldText(const EditStep& step, int language)
{
    switch (step.field) {
    case Field::Entry:
        return entryPlaceText(step.place, language);
    case Field::IntroLine:
        return introScreenText(step.place.number, language);
    case Field::Address:
        return textIn(kAddress, language);
    case Field::DisplayTime:
        return textIn(kDisplayTime, language);
    }
    return {};
}

QString caption(const EditStep* step, const LanguageRow& plain, const LanguageRow& named,
                int language)
{
    return step ? textIn(named, language).arg(step->name(language)) : textIn(plain, language);
}

} // namespace

QString introScreenText(int screen, int language)
{
    return textIn(kIntroScreen, language).arg(screen);
}

QString EditStep::name(int language) const
{
    const QString text = textIn(kStepNames[std::size_t(kind)], language);
    switch (kind) {
    case Kind::Typing:
    case Kind::Paste:
    case Kind::PastedRows:
        return text.arg(fieldText(*this, language));
    case Kind::Open:
    case Kind::Import:
        return text.arg(file);
    default:
        return text;
    }
}

FieldStep fieldStep(int selectorIndex, int editNumber, bool pasted)
{
    EditStep step{pasted ? Kind::Paste : Kind::Typing};
    if (editNumber == kDisplayTimeField) {
        step.kind = Kind::TimeChange;
        return {step, ChangeScope::Intro};
    }
    if (const int screen = introScreenOfEditNumber(editNumber)) {
        step.field = Field::IntroLine;
        step.place = {0, screen};
        return {step, ChangeScope::Intro};
    }
    step.place = placeOfRow(slotRow(selectorIndex, slotOfEditNumber(selectorIndex, editNumber)));
    return {step, ChangeScope::Grid};
}

ChangeView viewOfChange(const DocumentChange& change)
{
    ChangeView view;
    if (const int row = change.firstRow()) {
        const EntryPlace place = placeOfRow(row);
        view.selectorIndex =
            place.zone == kAdditionalNumberZone ? kSelectorAdditionalNumbers : place.zone - 1;
        view.slot = place.number;
        view.line2 = !change.changesLine1(row);
    } else if (const int line = change.firstIntroLine(); line >= 0) {
        view.selectorIndex = kSelectorIntro;
        view.introLine = line;
    } else if (change.changesAddress()) {
        view.address = true;
    } else if (change.changesTime()) {
        view.selectorIndex = kSelectorIntro;
    }
    return view;
}

QString undoCaption(const EditStep* step, int language)
{
    return caption(step, kUndo, kUndoStep, language);
}

QString redoCaption(const EditStep* step, int language)
{
    return caption(step, kRedo, kRedoStep, language);
}

} // namespace q540
