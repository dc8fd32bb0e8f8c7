#include "protocol/DisplayPreview.h"

#include "base/ControlCharacter.h"
#include "base/FixedTexts.h"
#include "protocol/ModuleCharset.h"

#include <algorithm>

namespace q540 {

namespace {

QString codePointName(char32_t code)
{
    return QStringLiteral("U+") + QString::number(code, 16).toUpper().rightJustified(4, u'0');
}

DisplayRow rowOf(QStringView line, int length)
{
    DisplayRow row(static_cast<std::size_t>(length), DisplayCell{{}, u' ', CellMark::None});
    const QStringView cut = line.left(length);
    for (qsizetype i = 0; i < cut.size(); ++i) {
        const QChar c = cut.at(i);
        row[std::size_t(i)] = {QString(c), moduleShows(c.unicode()).value_or(c), CellMark::None};
    }
    for (const CharacterFinding& f : findCharacterProblems(cut)) {
        DisplayCell& cell = row[std::size_t(f.position)];
        cell.typed = f.character;
        cell.mark = f.kind == CharacterFinding::Kind::LookAlike ? CellMark::LookAlike
                                                                : CellMark::Unsupported;
        // The second half of a pair takes a cell of its own, as it would in the module.
        if (f.character.size() == 2 && f.position + 1 < length)
            row[std::size_t(f.position + 1)] = cell;
    }
    return row;
}

} // namespace

DisplayPreview displayPreview(QStringView line1, QStringView line2, int row2Length)
{
    return {rowOf(line1, kDisplayRowLength), rowOf(line2, row2Length)};
}

CellMark textMark(QStringView text)
{
    CellMark worst = CellMark::None;
    for (const CharacterFinding& f : findCharacterProblems(text))
        worst =
            std::max(worst, f.kind == CharacterFinding::Kind::LookAlike ? CellMark::LookAlike
                                                                        : CellMark::Unsupported);
    return worst;
}

QString cellNote(const DisplayCell& cell, int language)
{
    switch (cell.mark) {
    case CellMark::None:
        return {};
    case CellMark::LookAlike:
        return fixedText(FixedText::PreviewLookAlike, language)
            .arg(cell.typed, QString(cell.shown));
    case CellMark::Unsupported:
        break;
    }
    const char32_t code = cell.typed.size() == 2
                              ? QChar::surrogateToUcs4(cell.typed.at(0), cell.typed.at(1))
                              : cell.typed.at(0).unicode();
    if (isControlCharacter(int(code)))
        return fixedText(FixedText::PreviewControlCharacter, language).arg(codePointName(code));
    return fixedText(FixedText::PreviewUnsupported, language).arg(cell.typed, codePointName(code));
}

QString textNotes(QStringView text, int language)
{
    QStringList notes;
    for (const CharacterFinding& f : findCharacterProblems(text)) {
        const bool lookAlike = f.kind == CharacterFinding::Kind::LookAlike;
        notes << cellNote({f.character, lookAlike ? f.shownAs : f.character.at(0),
                           lookAlike ? CellMark::LookAlike : CellMark::Unsupported},
                          language);
    }
    return notes.join(u'\n');
}

} // namespace q540
