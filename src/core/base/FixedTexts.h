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
};

// The text in a program language 0 (Polish), 1 (English) or 2 (German);
// callers choose their own fallback for other values, this gives English.
QString fixedText(FixedText which, int language);

// One text in the three program languages, Polish first, and the one of a
// language as fixedText picks it. For the tables of texts kept beside the
// code that uses them.
using LanguageRow = std::array<const char16_t*, 3>;
QString textIn(const LanguageRow& row, int language);

// The locale that dates and numbers are written in for a program language
// (as textIn picks it: English for other values).
QLocale localeOfLanguage(int language);

} // namespace q540
