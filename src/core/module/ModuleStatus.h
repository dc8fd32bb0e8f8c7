#pragma once

#include "module/Identification.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace q540 {

class Clock;
class Link;
class Localisation;
class UserSink;

// The colour of the installer-password field.
enum class PasswordColour { Normal, Green, Red };

// The module's last-known settings as the main window keeps them, with the
// value each control stands for. Written only on the user-interface thread,
// by applyIdentification.
struct ModuleStatus {
    // Images of the state icon.
    static constexpr int kImageNoCable = 5;
    static constexpr int kImageModulePresent = 6;
    static constexpr int kImageNoModule = 7; // no answer, or a module of another kind
    static constexpr int kImageNoState = 8;  // the design image, before the first poll
    static constexpr int kTagNoModule = -1;
    static constexpr int kTagModulePresent = 70;
    // Odczyt_wyszukiwania_alfa: not yet taken from the module, on, off.
    static constexpr std::uint8_t kAlphabeticalSearchUnknown = 115;
    static constexpr std::uint8_t kAlphabeticalSearchOn = 8;
    static constexpr std::uint8_t kAlphabeticalSearchOff = 0;

    bool jest_odpowiedz = false; // the configuration block has been read
    QString Edit520;             // module entry count, decimal; empty without a module
    bool haslo_zgodne = false;
    PasswordColour passwordColour = PasswordColour::Normal;
    int jezyk_modulu = 0; // 0..7
    // Selected item of ComboBox_czas (items "1".."15"); -1 selects none.
    int introTimeIndex = 1;
    std::uint8_t Odczyt_wyszukiwania_alfa = kAlphabeticalSearchUnknown;
    bool alphabeticalSearchTicked = true; // CheckBox_wyszukiwanie_alfa, ticked at start
    bool resetLockTicked = false;         // CheckBox_blokada_resetu: ticked = reset locked
    int stateImageIndex = kImageNoState;  // ToolButton8
    int stateTag = 0;
    QString statusText; // Edit_Status
    bool zmienHasloEnabled = true;
    // Whether the previous identification found a module of version 4.3, so
    // that its message is shown once per connection rather than every poll.
    bool previousFoundVersion43 = false;
    // True exactly while the identification sets the reset-lock tick: the
    // tick's click handler ignores the program's own change.
    bool sprawdzanie_wersji = false;

    bool modulePresent() const { return stateImageIndex == kImageModulePresent; }
};

// What a check box's click handler would see: called after the tick changed,
// and only when it changed, as a check box reports a change of its state.
struct ModuleStatusHandlers {
    std::function<void(const ModuleStatus&)> alphabeticalSearchClicked;
    std::function<void(const ModuleStatus&)> resetLockClicked;
};

// The two-letter code of a module language code (0..7) in the status text.
QString moduleLanguageCode(int jezyk_modulu);

// The user-interface half of the identification: applies what the exchange
// found to the module's last-known settings. typedPassword is the four
// characters of the installer-password field; the texts come in the current
// language; the version-4.3 message goes to the sink.
void applyIdentification(ModuleStatus& status, const IdentificationOutcome& outcome,
                         const QString& typedPassword, const Localisation& texts, UserSink& sink,
                         const ModuleStatusHandlers& handlers = {});

// The whole identification on the calling thread, as the transfers and the
// reset-lock command run it: the exchange, then applying its outcome.
void Odczytaj_dane(ModuleStatus& status, Link& link, Clock& clock, const QString& typedPassword,
                   const Localisation& texts, UserSink& sink,
                   const ModuleStatusHandlers& handlers = {});

} // namespace q540
