#include "module/ModuleCompare.h"

#include "base/FixedTexts.h"
#include "base/HeldMessages.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "module/DirectoryRead.h"
#include "module/IntroTransfer.h"
#include "module/ModuleStatus.h"
#include "protocol/ModuleCharset.h"

#include <QStringList>

namespace q540 {

namespace {

using Kind = ContentDifference::Kind;
using Setting = ContentDifference::Setting;

// A text as the module's display shows it, cut to its field.
QString asShown(const QString& text, int fieldLength)
{
    return shownText(QStringView(text).left(fieldLength));
}

// An entry's two lines as one text; line 2 after a middle dot when it is not empty.
QString entryShown(const DirectoryGrid& grid, int row)
{
    const QString text = grid.entryText(row);
    const QString line1 = asShown(text.left(kLine1Length), kLine1Length);
    const QString line2 = asShown(text.mid(kLine1Length, kLine2Length), kLine2Length);
    return line2.isEmpty() ? line1 : line1 + QStringLiteral(" · ") + line2;
}

void compareEntries(const DirectoryGrid& expected, const DirectoryGrid& module,
                    std::vector<ContentDifference>& found)
{
    for (int row = 1; row <= kGridRows; ++row) {
        const QString ours = entryShown(expected, row);
        const QString theirs = entryShown(module, row);
        if (ours == theirs)
            continue;
        const EntryPlace place = placeOfRow(row);
        const Kind kind = ours.isEmpty()     ? Kind::OnlyInModule
                          : theirs.isEmpty() ? Kind::OnlyInDirectory
                                             : Kind::Changed;
        found.push_back({kind, Setting::None, place.zone, place.number, ours, theirs});
    }
}

QString timeText(int timeIndex)
{
    return timeIndex < 0 ? QStringLiteral("—")
                         : QStringLiteral("%1 s").arg(introTimeSeconds(timeIndex));
}

void addSetting(std::vector<ContentDifference>& found, Setting which, int number, QString ours,
                QString theirs)
{
    if (ours != theirs)
        found.push_back({Kind::Setting, which, 0, number, std::move(ours), std::move(theirs)});
}

void compareIntro(const DocumentFields& ours, const DocumentFields& theirs,
                  std::vector<ContentDifference>& found)
{
    for (int line = 0; line < kIntroLineCount; ++line)
        addSetting(found, Setting::IntroLine, line + 1,
                   asShown(ours.intro[std::size_t(line)], kIntroLineLength),
                   asShown(theirs.intro[std::size_t(line)], kIntroLineLength));
    addSetting(found, Setting::IntroTime, 0, timeText(ours.timeIndex), timeText(theirs.timeIndex));
}

void compareSettings(const ExpectedContents& expected, const ModuleContents& module,
                     std::vector<ContentDifference>& found)
{
    const DocumentFields& ours = expected.document.fields;
    const DocumentFields& theirs = module.document.fields;
    const auto setting = [&found](Setting which, int number, QString a, QString b) {
        addSetting(found, which, number, std::move(a), std::move(b));
    };
    compareIntro(ours, theirs, found);
    // Code 0 names no language: a directory that chose none asks for none.
    if (ours.moduleLanguage != 0)
        setting(Setting::ModuleLanguage, 0, moduleLanguageCode(ours.moduleLanguage),
                moduleLanguageCode(theirs.moduleLanguage));
    // The words come later, in the reader's language; here on/off as 1/0.
    if (expected.alphabeticalSearch)
        setting(Setting::AlphabeticalSearch, 0, QString::number(*expected.alphabeticalSearch),
                QString::number(module.alphabeticalSearch));
    if (expected.resetLock)
        setting(Setting::ResetLock, 0, QString::number(*expected.resetLock),
                QString::number(module.resetLock));
}

bool isSwitch(const ContentDifference& d)
{
    return d.setting == Setting::AlphabeticalSearch || d.setting == Setting::ResetLock;
}

} // namespace

std::vector<ContentDifference> compareWithModule(const ExpectedContents& expected,
                                                 const ModuleContents& module)
{
    std::vector<ContentDifference> found;
    compareEntries(expected.document.grid, module.document.grid, found);
    compareSettings(expected, module, found);
    return found;
}

QString differenceKindText(Kind kind, int language)
{
    static constexpr FixedText kTexts[] = {
        FixedText::CompareOnlyInModule,
        FixedText::CompareOnlyInDirectory,
        FixedText::CompareChanged,
        FixedText::CompareSetting,
    };
    return fixedText(kTexts[static_cast<int>(kind)], language);
}

QString differencePlaceText(const ContentDifference& d, int language)
{
    if (d.kind != Kind::Setting)
        return entryPlaceText({d.zone, d.number}, language);
    switch (d.setting) {
    case Setting::None:
        break;
    case Setting::IntroLine: // named as the file notices name it
        return fixedText(FixedText::NoticeIntroLine, language).arg(d.number);
    case Setting::IntroTime:
        return fixedText(FixedText::ConfigurationIntroTime, language);
    case Setting::ModuleLanguage:
        return fixedText(FixedText::ConfigurationLanguage, language);
    case Setting::AlphabeticalSearch:
        return fixedText(FixedText::ConfigurationAlphabeticalSearch, language);
    case Setting::ResetLock:
        return fixedText(FixedText::CompareResetLock, language);
    }
    return {};
}

QString differenceLineText(const ContentDifference& d, int language)
{
    return fixedText(FixedText::CompareLine, language)
        .arg(differencePlaceText(d, language), differenceKindText(d.kind, language),
             differenceValueText(d, d.directory, language),
             differenceValueText(d, d.module, language));
}

QString differenceValueText(const ContentDifference& d, const QString& value, int language)
{
    return isSwitch(d) ? onOffText(value == u'1', language) : value;
}

IntroVerifyResult verifyIntro(const TransferContext& context, const IntroLines& written,
                              ModuleStatus& status)
{
    DocumentFields sent;
    sent.intro = written;
    sent.timeIndex = status.introTimeIndex;
    IntroVerifyResult result;
    const IntroRead read = receiveIntro(context, IntroLines{}, status);
    result.outcome = read.outcome;
    if (!read.outcome.isDone())
        return result;
    DocumentFields held;
    held.intro = read.lines;
    held.timeIndex = status.introTimeIndex;
    compareIntro(sent, held, result.differences);
    const int language = context.texts.language();
    QStringList lines;
    for (const ContentDifference& d : result.differences)
        lines << differenceLineText(d, language);
    context.sink.showMessage(
        lines.isEmpty() ? fixedText(FixedText::IntroVerified, language)
                        : fixedText(FixedText::IntroDiffers, language).arg(lines.join(u'\n')));
    return result;
}

ModuleContents contentsOf(const DirectoryGrid& grid, const IntroLines& intro,
                          const ModuleStatus& status)
{
    ModuleContents contents;
    contents.document.grid = grid;
    contents.document.fields.intro = intro;
    contents.document.fields.timeIndex = status.introTimeIndex;
    contents.document.fields.moduleLanguage = status.languageRead;
    contents.alphabeticalSearch = status.chosen.alphabeticalSearch;
    contents.resetLock = status.chosen.resetLock;
    return contents;
}

ModuleContentsRead readModuleContents(const TransferContext& context, const QString& typedPassword,
                                      ModuleStatus& status)
{
    HeldMessages held(context.sink);
    const TransferContext quiet{context.link, context.clock, held, context.poll, context.texts};
    ModuleContentsRead read;
    const DirectoryReadResult directory =
        receiveDirectory(quiet, DirectoryGrid{}, typedPassword, status);
    read.outcome = directory.outcome;
    if (read.outcome.isDone()) {
        // The intro read identifies the module again, so status then holds
        // its settings and the display time as the module keeps them.
        const IntroRead intro = receiveIntro(quiet, IntroLines{}, status);
        read.outcome = intro.outcome;
        read.contents = contentsOf(directory.grid, intro.lines, status);
    }
    if (!read.outcome.isDone())
        held.release();
    return read;
}

} // namespace q540
