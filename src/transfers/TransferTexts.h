#pragma once

// Text keys of the texts table that the module transfers show, by meaning.
namespace q540::textkey {

inline constexpr int kDataWritten = 66;       // "Dane zostały zapisane do modułu!"
inline constexpr int kDataRead = 67;          // "Dane zostały odczytane!"
inline constexpr int kDataErased = 135;       // "Dane zostały skasowane."
inline constexpr int kEraseWholeMemory = 140; // "Czy skasować całą zawartość pamięci?   "
inline constexpr int kReadError = 161;        // "Błąd odczytu - proszę ponowić odczyt"
inline constexpr int kNoEntries = 167;        // "Brak wpisów"

} // namespace q540::textkey
