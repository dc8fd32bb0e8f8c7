#pragma once

#include <QLocale>
#include <QString>

#include <array>

namespace q540 {

// The program's own texts that are not in the texts table, which holds the
// module program's texts only. Each in the three program languages.
enum class FixedText {
    DemoModuleNote,        // the demo program's note that no cable is in use
    OverwriteFile,         // %1 the file's name
    DiscardUnsavedChanges, // before New, Open, Import, a module read
    CannotOpenFile,
    CannotSaveFile,
    TransmissionError,
    // The notice after a file was read with values cut or lines missing.
    NoticeAddress,
    NoticeIntroLine,        // %1 line
    NoticeEntry,            // %1 zone, %2 apartment, %3 line
    NoticeAdditionalNumber, // %1 number, %2 line
    NoticeCut,              // %1 where, %2 length, %3 limit
    NoticeLinesMissing,     // %1 held, %2 expected
    TimeLeftSeconds,        // %1 seconds
    TimeLeftMinutes,        // %1 minutes, %2 seconds
    // The connection state when a port could not be opened; %1 the port.
    PortMissing,
    PortNotSerial,
    PortPermissionDenied,
    PortBusy,
    // The connection check's window.
    ConnectionCheckTitle,
    CheckAgain,
    CopyReport,
    Close,
    // The support report.
    SaveSupportReport,
    SupportReportNote,
    IncludeDirectory,
    SaveButton,
    CancelButton,
    SupportReportSaved, // %1 the file
    // What a write that did not end left in the module, and a cancel.
    EntriesWritten, // %1 the last entry written, %2 all entries
    NothingWritten,
    IntroScreensWritten, // %1 the last screen written, %2 all screens
    WriteCancelled,
    ReadCancelled,
    // Verifying a write.
    VerifiedAll,        // %1 entries
    VerifyDifferences,  // %1 differing, %2 entries
    DifferenceAtEntry,  // %1 zone, %2 apartment
    DifferenceAtNumber, // %1 additional number
    DifferenceLine,     // %1 where, %2 written, %3 held
    WrittenAgain,       // %1 entries
    IntroVerified,
    IntroDiffers, // %1 the differences, one a line
    // The history of module reads and writes.
    HistoryNotKept, // %1 the reason
    BackupOffer,    // %1 entries, %2 seconds
    ReadAndKeep,    // the offer's button that reads first
    WriteWithoutKeeping,
    // The phase a transfer is in, beside its progress.
    PhaseKeepingFirst,
    PhaseWriting,
    PhaseChecking,
    PhaseWritingAgain,
    PhaseReading,
    PhaseReadingAgain,
    PhaseConfirming,
    // Why a write did not start, and how a write that went through ended.
    BackupNotRead,
    BackupNotSaved,          // %1 the reason
    WrittenAndVerified,      // %1 entries
    WrittenAgainAndVerified, // %1 differences
    WrittenWithDifferences,  // %1 differences, %2 one a line
    WrittenUnchecked,
    WriteAgainCancelled, // %1 written again, %2 differences
    CancelWriteQuestion,
    // What differs in one entry or in the configuration.
    DifferenceInText,          // %1 written, %2 held
    DifferenceInNumber,        // %1 written, %2 held
    DifferenceInZone,          // %1 written, %2 held
    DifferenceInConfiguration, // %1 what, %2 written, %3 held
    ConfigurationEntryCount,
    ConfigurationPassword,
    ConfigurationResetLock,
    ConfigurationLanguage,
    ConfigurationIntroTime,
    ConfigurationAlphabeticalSearch,
    // A module that answered without its configuration; a setting not confirmed.
    ConfigurationMissing,
    ChangeNotConfirmed, // %1 what, %2 sent, %3 held
    ChangeNotChecked,   // %1 what
    ChangeConfirmed,    // %1 what, %2 value
    // Reading twice.
    ReadsAgreed,
    ReadsDecided,    // %1 entries the third read decided
    ReadsDisagree,   // %1 entries, %2 one a line
    HistoryCopyKept, // %1 the path
};

// The text in a program language 0 (Polish), 1 (English) or 2 (German);
// callers choose their own fallback for other values, this gives English.
QString fixedText(FixedText which, int language);

// A switch's state in words: "on" or "off".
QString onOffText(bool on, int language);

// One text in the three program languages, Polish first, and the one of a
// language as fixedText picks it. For the tables of texts kept beside the
// code that uses them.
using LanguageRow = std::array<const char16_t*, 3>;
QString textIn(const LanguageRow& row, int language);

// The locale that dates and numbers are written in for a program language
// (as textIn picks it: English for other values).
QLocale localeOfLanguage(int language);

} // namespace q540
