#include "base/PrintableText.h"
#include "base/TextKeys.h"
#include "cli/Cli.h"
#include "cli/commands/Commands.h"
#include "protocol/ModuleCharset.h"

namespace q540::cli {

namespace {

// Reports each character of text that the module cannot show, and warns of
// each it would show as another; true if the module cannot show one.
bool reportCharacters(Invocation& in, const QString& where, const QString& text)
{
    bool unshowable = false;
    for (const CharacterFinding& f : findCharacterProblems(text)) {
        const QString code = QStringLiteral("U+")
                             + QString::number(f.codePoint, 16).toUpper().rightJustified(4, u'0');
        in.out << where << ", position " << f.position + 1 << ": ";
        switch (f.kind) {
        case CharacterFinding::Kind::Unsupported:
            in.out << '"' << printableText(f.character) << "\" " << code << '\n';
            break;
        case CharacterFinding::Kind::Control:
            // Never printed as it is: a terminal would act on it.
            in.out << code << ", a control character\n";
            break;
        case CharacterFinding::Kind::LookAlike:
            in.out << "warning: \"" << f.character << "\" " << code << " shows as \"" << f.shownAs
                   << "\"\n";
            continue;
        }
        unshowable = true;
    }
    return unshowable;
}

class CheckCommand final : public Command {
public:
    CheckCommand()
        : Command({.name = "check",
                   .arguments = "FILE",
                   .summary =
                       "Report every character the module cannot show, and a directory too large "
                       "for it.",
                   .positionalCount = 1,
                   .input = 0})
    {
    }

private:
    int run(Invocation& in) override
    {
        const DirectoryDocument& document = *document_;
        bool found = false;
        int entries = 0;
        for (int row = 1; row <= kGridRows; ++row) {
            if (document.grid.isEntryEmpty(row))
                continue;
            ++entries;
            const EntryPlace place = placeOfRow(row);
            const QString entry =
                place.zone == kAdditionalNumberZone
                    ? QStringLiteral("additional number %1").arg(place.number)
                    : QStringLiteral("zone %1, apartment %2").arg(place.zone).arg(place.number);
            const QString text = document.grid.entryText(row);
            found |=
                reportCharacters(in, entry + QStringLiteral(", line 1"), text.left(kLine1Length));
            found |=
                reportCharacters(in, entry + QStringLiteral(", line 2"), text.mid(kLine1Length));
        }
        for (int i = 0; i < kIntroLineCount; ++i)
            found |= reportCharacters(in, QStringLiteral("intro line %1").arg(i + 1),
                                      document.fields.intro[std::size_t(i)].left(kIntroLineLength));
        if (entries > kEntryCapacity) {
            in.out << in.texts.text(textkey::kReduceEntries).trimmed() << ' '
                   << entries - kEntryCapacity << '\n';
            found = true;
        }
        in.out << Qt::flush;
        return found ? kModuleFailed : kDone;
    }
};

} // namespace

std::unique_ptr<Command> makeCheckCommand()
{
    return std::make_unique<CheckCommand>();
}

} // namespace q540::cli
