#include "directory/EditStep.h"

#include "base/FixedTexts.h"
#include "directory/DirectoryPage.h"

#include <array>

namespace q540 {

namespace {

using Kind = EditStep::Kind;
using Field = EditStep::Field;

// By kind.
constexpr std::array<FixedText, 11> kStepNames{
    FixedText::StepTyping,      FixedText::StepPaste,      FixedText::StepPastedRows,
    FixedText::StepNew,         FixedText::StepOpen,       FixedText::StepImport,
    FixedText::StepTableImport, FixedText::StepModuleRead, FixedText::StepIntroRead,
    FixedText::StepHistoryCopy, FixedText::StepTimeChange,
};

QString fieldText(const EditStep& step, int language)
{
    switch (step.field) {
    case Field::Entry:
        return entryPlaceText(step.place, language);
    case Field::IntroLine:
        return introScreenText(step.place.number, language);
    case Field::Address:
        return fixedText(FixedText::StepFieldAddress, language);
    case Field::DisplayTime:
        return fixedText(FixedText::StepFieldDisplayTime, language);
    }
    return {};
}

QString caption(const EditStep* step, FixedText plain, FixedText named, int language)
{
    return step ? fixedText(named, language).arg(step->name(language)) : fixedText(plain, language);
}

} // namespace

QString introScreenText(int screen, int language)
{
    return fixedText(FixedText::IntroScreen, language).arg(screen);
}

QString EditStep::name(int language) const
{
    const QString text = fixedText(kStepNames[std::size_t(kind)], language);
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
    return caption(step, FixedText::Undo, FixedText::UndoStep, language);
}

QString redoCaption(const EditStep* step, int language)
{
    return caption(step, FixedText::Redo, FixedText::RedoStep, language);
}

} // namespace q540
