#pragma once

#include "base/Outcome.h"
#include "directory/DirectoryDocument.h"
#include "directory/DirectoryGrid.h"
#include "directory/IntroScreens.h"
#include "module/TransferSession.h"

#include <QString>

#include <optional>
#include <vector>

namespace q540 {

struct ModuleStatus;

// Everything a module holds that a directory describes: its entries, its
// intro screens and display time, its language and its two switches.
struct ModuleContents {
    DirectoryDocument document; // the address note stays empty: a module keeps none
    bool alphabeticalSearch = true;
    bool resetLock = false;

    friend bool operator==(const ModuleContents&, const ModuleContents&) = default;
};

// The open directory as compared with a module. The switches are compared
// only where the caller knows them: a directory file does not hold them.
struct ExpectedContents {
    DirectoryDocument document;
    std::optional<bool> alphabeticalSearch;
    std::optional<bool> resetLock;
};

// One way the module differs from the directory. Entries are named by zone
// (1..4, 5 for the additional numbers) and number; settings by which one.
struct ContentDifference {
    enum class Kind { OnlyInModule, OnlyInDirectory, Changed, Setting };
    enum class Setting {
        None,
        IntroLine,
        IntroTime,
        ModuleLanguage,
        AlphabeticalSearch,
        ResetLock
    };
    Kind kind = Kind::Changed;
    Setting setting = Setting::None;
    int zone = 0;      // entries only
    int number = 0;    // apartment or additional number; the intro line 1..8
    QString directory; // as the module would show it; empty where it has none
    QString module;

    friend bool operator==(const ContentDifference&, const ContentDifference&) = default;
};

// Every difference, entries first in zone and apartment order, then the
// settings. Text is compared as the module's display shows it: what a write
// would turn into a look-alike, or cut at the field's end, is no difference.
std::vector<ContentDifference> compareWithModule(const ExpectedContents& expected,
                                                 const ModuleContents& module);

// The words of a difference, in a program language (0..2): its kind
// ("changed"), where ("zone 2, apartment 17", "intro line 3", "display
// time"), and one line with both values for the headless tool.
QString differenceKindText(ContentDifference::Kind kind, int language);
QString differencePlaceText(const ContentDifference& difference, int language);
QString differenceLineText(const ContentDifference& difference, int language);
// One side's value in words: a switch's "on" or "off", any other as it is.
QString differenceValueText(const ContentDifference& difference, const QString& value,
                            int language);

// Reads the directory and the intro screens, with the settings the
// identification found; the read's success messages are held back, since
// what was read is shown as a whole, and its failures are shown.
struct ModuleContentsRead {
    Outcome outcome = Outcome::failed();
    ModuleContents contents;
};
ModuleContentsRead readModuleContents(const TransferContext& context, const QString& typedPassword,
                                      ModuleStatus& status);

// Reads back the intro screens and the display time just written (the
// time is status's selection) and compares them as the module shows them.
// The finding is told through the sink; outcome done when the read went
// through, whatever it found.
struct IntroVerifyResult {
    Outcome outcome = Outcome::failed();
    std::vector<ContentDifference> differences;
};
IntroVerifyResult verifyIntro(const TransferContext& context, const IntroLines& written,
                              ModuleStatus& status);

// What a module read leaves in status (the display time, the module's
// language, the switches) with grid and intro lines, as one whole.
ModuleContents contentsOf(const DirectoryGrid& grid, const IntroLines& intro,
                          const ModuleStatus& status);

} // namespace q540
