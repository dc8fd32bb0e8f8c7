#pragma once

// Text keys of the texts table that the core's operations show, by meaning.
namespace q540::textkey {

inline constexpr int kWrongPassword = 45;          // "Błędne hasło!"
inline constexpr int kNoDevice = 50;               // "Brak urządzenia!"
inline constexpr int kUsbTransmissionFailure = 51; // "Błąd transmisji USB!"
inline constexpr int kReduceEntries = 95;          // "Zmniejsz ilość wpisów - Koniec pamięci! "

} // namespace q540::textkey
