#pragma once

// Text keys of the texts table that the core's operations show, by meaning.
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

} // namespace q540::textkey
