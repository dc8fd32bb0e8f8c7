#pragma once

// Every key of the texts table that the program uses, by meaning.
namespace q540::textkey {

inline constexpr int kModuleConnected = 30;   // "Stan połączenia: podłączony moduł"
inline constexpr int kDeviceUnsupported = 32; // "Stan połączenia: urządzenie nieobsługiwane"
inline constexpr int kCableFound = 33;    // "Stan połączenia: podłączono urządzenie KOR-USB"
inline constexpr int kCableNotFound = 34; // "Stan połączenia: nie znaleziono urządzenia KOR-USB"
inline constexpr int kWrongPassword = 45; // "Błędne hasło!"
inline constexpr int kNoDevice = 50;      // "Brak urządzenia!"
inline constexpr int kUsbTransmissionFailure = 51; // "Błąd transmisji USB!"
inline constexpr int kPasswordStored = 56;         // "Haslo zostało zapisane do modułu!"
inline constexpr int kWriteFailed = 65;            // "Błąd zapisu!"
inline constexpr int kResetAfterLanguage = 168; // "Po zmienię języka należy zresetować moduł ..."
inline constexpr int kVersion43Connected = 68; // "Podłączono moduł ver. 4.3"
inline constexpr int kUseOlderProgram = 69;    // "Proszę skorzystać ze starszej wersji programu."
inline constexpr int kReduceEntries = 95;      // "Zmniejsz ilość wpisów - Koniec pamięci! "

inline constexpr int kDataWritten = 66;       // "Dane zostały zapisane do modułu!"
inline constexpr int kDataRead = 67;          // "Dane zostały odczytane!"
inline constexpr int kDataErased = 135;       // "Dane zostały skasowane."
inline constexpr int kEraseWholeMemory = 140; // "Czy skasować całą zawartość pamięci?   "
inline constexpr int kReadError = 161;        // "Błąd odczytu - proszę ponowić odczyt"
inline constexpr int kNoEntries = 167;        // "Brak wpisów"

inline constexpr int kWrongFile = 94;          // "Niewłaściwy plik! "
inline constexpr int kFileStructureError = 96; // "Błąd struktury pliku! "

// Menus and tool bar of the main window.
inline constexpr int kMenuFile = 0;
inline constexpr int kNew = 1;
inline constexpr int kOpen = 2;
inline constexpr int kSave = 4;
inline constexpr int kSaveAs = 5;
inline constexpr int kExit = 6;
inline constexpr int kMenuProgram = 10;
inline constexpr int kProgramLanguage = 11;
inline constexpr int kContact = 12;
inline constexpr int kCheckVersion = 13;
inline constexpr int kModuleState = 14;
inline constexpr int kChangeModuleLanguage = 15;
inline constexpr int kResetLock = 48;
inline constexpr int kInstallerPassword = 63;
inline constexpr int kChangePassword = 64;
inline constexpr int kAddress = 162;

// The pages and the name list.
inline constexpr int kVerticalCaption = 47;
inline constexpr int kEntryCount = 49;
inline constexpr int kReadDirectory = 60;
inline constexpr int kWriteDirectory = 61;
inline constexpr int kIntroTimeLine1 = 70;
inline constexpr int kIntroTimeLine2 = 71;
inline constexpr int kReadIntro = 72;
inline constexpr int kWriteIntro = 73;
inline constexpr int kNameList = 74;
inline constexpr int kSortList = 75;
inline constexpr int kAlphabeticalSearch = 88;
inline constexpr int kEntryFieldHint = 163;
inline constexpr int kAdditionalNumbersTitle = 164;
inline constexpr int kAdditionalNumbersItem = 165;
inline constexpr int kZone = 166;
inline constexpr int kListColumnName = 57;
inline constexpr int kListColumnApartment = 58;
inline constexpr int kListColumnZone = 59;

// The language window and the CLI.
inline constexpr int kLanguageCancel = 53;
inline constexpr int kInstallDriver = 751;

// The settings panel.
inline constexpr int kLanguageCaption = 52;
inline constexpr int kReadLanguage = 76;
inline constexpr int kWriteLanguage = 77;
inline constexpr int kClose = 78;
inline constexpr int kSaveToModule = 150;
inline constexpr int kCancel = 151;
inline constexpr int kNewPassword = 152;
inline constexpr int kPasswordCaption = 153;
inline constexpr int kOk = 154;
inline constexpr int kPresentPassword = 155;

} // namespace q540::textkey
