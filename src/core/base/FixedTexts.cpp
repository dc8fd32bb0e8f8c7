#include "base/FixedTexts.h"

#include "base/Localisation.h"
#include "base/TransferPhase.h"

#include <array>

namespace q540 {

namespace {

using Row = LanguageRow;
static_assert(std::tuple_size_v<LanguageRow> == Localisation::kLanguageCount);

// In the order of FixedText.
constexpr Row kTexts[] = {
    {u"Moduł demonstracyjny: moduł jest symulowany w programie, bez kabla",
     u"Demo module: the module is simulated in the program, no cable",
     u"Demomodul: das Modul wird im Programm simuliert, ohne Kabel"},
    {u"Nadpisać istniejący plik:  %1 ?", u"Overwrite the existing file:  %1 ?",
     u"Die vorhandene Datei überschreiben:  %1 ?"},
    {u"Zmiany w katalogu nie zostały zapisane. Czy je porzucić?",
     u"The directory has unsaved changes. Discard them?",
     u"Das Verzeichnis hat ungespeicherte Änderungen. Sollen sie verworfen werden?"},
    {u"Nie można otworzyć pliku:", u"Cannot open the file:",
     u"Die Datei kann nicht geöffnet werden:"},
    {u"Nie można zapisać pliku:", u"Cannot save the file:",
     u"Die Datei kann nicht gespeichert werden:"},
    {u"Błąd transmisji!", u"Transmision error!", u"Übertragungsfehler!"},
    {u"adres", u"address", u"Adresse"},
    {u"wiersz intro %1", u"intro line %1", u"Intro-Zeile %1"},
    {u"strefa %1, lokal %2, linia %3", u"zone %1, apartment %2, line %3",
     u"Zone %1, Wohnung %2, Zeile %3"},
    {u"numer dodatkowy %1, linia %2", u"additional number %1, line %2",
     u"Zusatznummer %1, Zeile %2"},
    {u"%1: %2 znaków, pole mieści %3 – nadmiar pominięto.",
     u"%1: %2 characters, the field takes %3; the rest was left out.",
     u"%1: %2 Zeichen, das Feld fasst %3; der Rest wurde weggelassen."},
    {u"Plik kończy się po %1 z %2 wierszy; brakujące wiersze wczytano jako puste.",
     u"The file ends after %1 of its %2 lines; the missing lines were read as empty.",
     u"Die Datei endet nach %1 von %2 Zeilen; die fehlenden Zeilen wurden als leer gelesen."},
    {u"pozostało ok. %1 s", u"about %1 s left", u"noch etwa %1 s"},
    {u"pozostało ok. %1 min %2 s", u"about %1 min %2 s left", u"noch etwa %1 min %2 s"},
    {u"Stan połączenia: port %1 nie istnieje", u"Connection status: port %1 does not exist",
     u"Verbindungsstand: Anschluss %1 existiert nicht"},
    {u"Stan połączenia: %1 nie jest portem szeregowym",
     u"Connection status: %1 is not a serial port",
     u"Verbindungsstand: %1 ist keine serielle Schnittstelle"},
    {u"Stan połączenia: brak uprawnień do otwarcia %1 (Opcje → Sprawdzenie połączenia)",
     u"Connection status: no permission to open %1 (Options → Connection check)",
     u"Verbindungsstand: keine Berechtigung, %1 zu öffnen (Optionen → Verbindungsprüfung)"},
    {u"Stan połączenia: %1 jest zajęty przez inny program (Opcje → Sprawdzenie połączenia)",
     u"Connection status: %1 is in use by another program (Options → Connection check)",
     u"Verbindungsstand: %1 wird von einem anderen Programm benutzt (Optionen → "
     u"Verbindungsprüfung)"},
    {u"Sprawdzenie połączenia", u"Connection check", u"Verbindungsprüfung"},
    {u"Sprawdź ponownie", u"Check again", u"Erneut prüfen"},
    {u"Kopiuj", u"Copy", u"Kopieren"},
    {u"Zamknij", u"Close", u"Schließen"},
    {u"Zapisz raport dla serwisu…", u"Save support report…", u"Supportbericht speichern…"},
    {u"Raport zawiera wersje programu i systemu, wynik sprawdzenia połączenia, ostatnie "
     u"komunikaty i zapis bajtów ostatnich operacji z modułem. Nazwiska mieszkańców są w nim "
     u"zamaskowane, chyba że dołączysz katalog.",
     u"The report holds the program's and the system's versions, the connection check, the "
     u"recent messages and the byte traces of the last module operations. Residents' names are "
     u"masked in it unless you include the directory.",
     u"Der Bericht enthält die Versionen von Programm und System, die Verbindungsprüfung, die "
     u"letzten Meldungen und die Byte-Protokolle der letzten Moduloperationen. Die Namen der "
     u"Bewohner sind darin unkenntlich, außer Sie schließen das Verzeichnis ein."},
    {u"Dołącz katalog (nazwiska mieszkańców)", u"Include the directory (residents' names)",
     u"Verzeichnis einschließen (Namen der Bewohner)"},
    {u"Zapisz…", u"Save…", u"Speichern…"},
    {u"Anuluj", u"Cancel", u"Abbrechen"},
    {u"Raport zapisano: %1", u"Report saved: %1", u"Bericht gespeichert: %1"},
    {u"Zapisano wpisy od 1 do %1 z %2; katalog w module jest niekompletny — zapisz go ponownie.",
     u"Entries 1 to %1 of %2 were written; the module's directory is incomplete — write it "
     u"again.",
     u"Die Einträge 1 bis %1 von %2 wurden geschrieben; das Verzeichnis im Modul ist "
     u"unvollständig — bitte erneut schreiben."},
    {u"Nic nie zostało potwierdzone jako zapisane; jeśli zawartość modułu wygląda źle, zapisz "
     u"ją ponownie.",
     u"Nothing was confirmed as written; should the module's contents look wrong, write them "
     u"again.",
     u"Nichts wurde als geschrieben bestätigt; sieht der Inhalt des Moduls falsch aus, bitte "
     u"erneut schreiben."},
    {u"Zapisano ekrany intro od 1 do %1 z %2; zapisz je ponownie.",
     u"Intro screens 1 to %1 of %2 were written; write them again.",
     u"Die Intro-Bildschirme 1 bis %1 von %2 wurden geschrieben; bitte erneut schreiben."},
    {u"Zapis przerwano.", u"Writing was cancelled.", u"Das Schreiben wurde abgebrochen."},
    {u"Odczyt przerwano; nic z odczytanych danych nie zachowano.",
     u"Reading was cancelled; nothing that was read has been kept.",
     u"Das Lesen wurde abgebrochen; nichts Gelesenes wurde behalten."},
    {u"Sprawdzono: moduł ma wszystkie %1 wpisów tak, jak je zapisano.",
     u"Verified: the module holds all %1 entries as written.",
     u"Geprüft: das Modul hält alle %1 Einträge wie geschrieben."},
    {u"%1 z %2 wpisów w module różni się od zapisanych.",
     u"%1 of %2 entries in the module differ from what was written.",
     u"%1 von %2 Einträgen im Modul weichen vom Geschriebenen ab."},
    {u"strefa %1, lokal %2", u"zone %1, apartment %2", u"Zone %1, Wohnung %2"},
    {u"numer dodatkowy %1", u"additional number %1", u"Zusatznummer %1"},
    {u"%1: zapisano „%2”, moduł ma „%3”", u"%1: written “%2”, the module holds “%3”",
     u"%1: geschrieben „%2“, das Modul hält „%3“"},
    {u"Zapisano ponownie różniące się wpisy: %1.", u"The %1 differing entries were written again.",
     u"Die %1 abweichenden Einträge wurden erneut geschrieben."},
    {u"Sprawdzono: moduł ma ekrany intro i czas wyświetlania tak, jak je zapisano.",
     u"Verified: the module holds the intro screens and the display time as written.",
     u"Geprüft: das Modul hält die Intro-Bildschirme und die Anzeigedauer wie geschrieben."},
    {u"Moduł ma inne ekrany intro niż zapisane; zapisz je ponownie:\n%1",
     u"The module holds other intro screens than were written; write them again:\n%1",
     u"Das Modul hält andere Intro-Bildschirme als geschrieben; bitte erneut schreiben:\n%1"},
    {u"Transfer się udał, ale kopii w historii nie zachowano: %1",
     u"The transfer succeeded, but no copy was kept in the history: %1",
     u"Die Übertragung ist gelungen, aber im Verlauf wurde keine Kopie behalten: %1"},
    {u"Moduł ma %1 wpisów, których historia nie zawiera. Odczytać i zachować je przed "
     u"zapisem? (około %2 s)",
     u"The module holds %1 entries that the history has not kept. Read and keep them before "
     u"writing? (about %2 s)",
     u"Das Modul hält %1 Einträge, die der Verlauf nicht enthält. Vor dem Schreiben lesen und "
     u"behalten? (etwa %2 s)"},
    {u"Odczytaj i zachowaj", u"Read and keep", u"Lesen und behalten"},
    {u"Zapisz bez kopii", u"Write without a copy", u"Ohne Kopie schreiben"},
    {u"Odczyt katalogu modułu, aby go zachować", u"Reading the module's directory to keep it",
     u"Das Verzeichnis des Moduls wird gelesen, um es zu behalten"},
    {u"Zapis", u"Writing", u"Schreiben"},
    {u"Sprawdzanie", u"Checking", u"Prüfen"},
    {u"Ponowny zapis różnic", u"Writing the differences again",
     u"Die Abweichungen werden erneut geschrieben"},
    {u"Odczyt", u"Reading", u"Lesen"},
    {u"Ponowny odczyt dla sprawdzenia", u"Reading again to check", u"Erneutes Lesen zur Prüfung"},
    {u"Potwierdzanie zmiany", u"Confirming the change", u"Die Änderung wird bestätigt"},
    {u"Nie udało się odczytać katalogu modułu, aby go zachować; niczego nie zapisano.",
     u"The module's directory could not be read to keep it; nothing was written.",
     u"Das Verzeichnis des Moduls konnte nicht gelesen werden, um es zu behalten; nichts wurde "
     u"geschrieben."},
    {u"Katalogu modułu nie udało się zachować w historii (%1); niczego nie zapisano.",
     u"The module's directory could not be kept in the history (%1); nothing was written.",
     u"Das Verzeichnis des Moduls konnte nicht im Verlauf behalten werden (%1); nichts wurde "
     u"geschrieben."},
    {u"Dane zostały zapisane do modułu i sprawdzone: moduł ma wszystkie %1 wpisów i ustawienia "
     u"tak, jak je zapisano.",
     u"The data have been written to the module and checked: it holds all %1 entries and the "
     u"settings as written.",
     u"Die Daten wurden in das Modul geschrieben und geprüft: es hält alle %1 Einträge und die "
     u"Einstellungen wie geschrieben."},
    {u"Dane zostały zapisane do modułu; %1 różnic zapisano ponownie i sprawdzono: moduł ma "
     u"wszystko tak, jak je zapisano.",
     u"The data have been written to the module; %1 differences were written again and "
     u"checked: it holds everything as written.",
     u"Die Daten wurden in das Modul geschrieben; %1 Abweichungen wurden erneut geschrieben und "
     u"geprüft: es hält alles wie geschrieben."},
    {u"Dane zapisano, ale moduł wciąż różni się w %1 miejscach; zapisz ponownie:\n%2",
     u"The data were written, but the module still differs in %1 places; write again:\n%2",
     u"Die Daten wurden geschrieben, aber das Modul weicht noch an %1 Stellen ab; bitte erneut "
     u"schreiben:\n%2"},
    {u"Dane zapisano, ale nie udało się ich sprawdzić: odczyt kontrolny nie powiódł się. "
     u"Odczytaj moduł lub zapisz ponownie, aby mieć pewność.",
     u"The data were written, but they could not be checked: the read-back did not go through. "
     u"Read the module or write again to be sure.",
     u"Die Daten wurden geschrieben, konnten aber nicht geprüft werden: das Zurücklesen ist "
     u"misslungen. Bitte das Modul lesen oder erneut schreiben, um sicher zu sein."},
    {u"Ponowny zapis przerwano po %1 z %2 różnic; moduł wciąż różni się od zapisanych danych – "
     u"zapisz ponownie.",
     u"Writing again was cancelled after %1 of %2 differences; the module still differs from "
     u"what was written: write again.",
     u"Das erneute Schreiben wurde nach %1 von %2 Abweichungen abgebrochen; das Modul weicht "
     u"noch vom Geschriebenen ab: bitte erneut schreiben."},
    {u"Przerwać zapis? Katalog w module będzie niepełny, dopóki nie zostanie zapisany ponownie.",
     u"Stop writing? The module's directory will be incomplete until it is written again.",
     u"Das Schreiben abbrechen? Das Verzeichnis im Modul ist unvollständig, bis es erneut "
     u"geschrieben wird."},
    {u"tekst: zapisano „%1”, moduł ma „%2”", u"text: written “%1”, the module holds “%2”",
     u"Text: geschrieben „%1“, das Modul hält „%2“"},
    {u"numer lokalu: zapisano %1, moduł ma %2",
     u"apartment number: written %1, the module holds %2",
     u"Wohnungsnummer: geschrieben %1, das Modul hält %2"},
    {u"strefa: zapisano %1, moduł ma %2", u"zone: written %1, the module holds %2",
     u"Zone: geschrieben %1, das Modul hält %2"},
    {u"%1: zapisano %2, moduł ma %3", u"%1: written %2, the module holds %3",
     u"%1: geschrieben %2, das Modul hält %3"},
    {u"liczba wpisów", u"entry count", u"Anzahl der Einträge"},
    {u"hasło instalatora", u"installer password", u"Installateur-Passwort"},
    {u"blokada resetu", u"reset lock", u"Reset-Sperre"},
    {u"język modułu", u"module language", u"Modulsprache"},
    {u"czas wyświetlania", u"display time", u"Anzeigedauer"},
    {u"wyszukiwanie alfabetyczne", u"alphabetical search", u"alphabetische Suche"},
    {u"Moduł odpowiedział, ale jego konfiguracja nie dotarła (błąd transmisji); sprawdź kabel "
     u"i spróbuj ponownie.",
     u"The module answered, but its configuration did not arrive (a transmission error); check "
     u"the cable and try again.",
     u"Das Modul hat geantwortet, aber seine Konfiguration kam nicht an (Übertragungsfehler); "
     u"bitte das Kabel prüfen und erneut versuchen."},
    {u"Moduł nie przyjął zmiany: %1 – wysłano %2, konfiguracja modułu ma %3.",
     u"The module did not take the change: %1 sent %2, its configuration holds %3.",
     u"Das Modul hat die Änderung nicht übernommen: %1 gesendet %2, seine Konfiguration hält %3."},
    {u"%1 wysłano, ale nie udało się odczytać konfiguracji modułu, aby to potwierdzić.",
     u"The %1 was sent, but the module's configuration could not be read back to confirm it.",
     u"%1 wurde gesendet, aber die Konfiguration des Moduls konnte zur Bestätigung nicht gelesen "
     u"werden."},
    {u"Moduł potwierdza: %1 %2", u"The module confirms: %1 %2", u"Das Modul bestätigt: %1 %2"},
    {u"Oba odczyty są zgodne.", u"Both reads agree.", u"Beide Lesevorgänge stimmen überein."},
    {u"Dwa odczyty różniły się w %1 wpisach; rozstrzygnął trzeci odczyt.",
     u"The two reads differed in %1 entries; a third read decided them.",
     u"Die zwei Lesevorgänge wichen in %1 Einträgen ab; ein dritter hat entschieden."},
    {u"%1 wpisów odczytano trzy razy różnie; odczytaj ponownie:\n%2",
     u"%1 entries read differently three times; read again:\n%2",
     u"%1 Einträge wurden dreimal verschieden gelesen; bitte erneut lesen:\n%2"},
    {u"Kopię zachowano w historii: %1", u"A copy was kept in the history: %1",
     u"Eine Kopie wurde im Verlauf behalten: %1"},
};

// One row for each text, in the enumeration's order.
static_assert(std::size(kTexts) == std::size_t(FixedText::HistoryCopyKept) + 1);

} // namespace

QString textIn(const LanguageRow& row, int language)
{
    const bool known = language >= 0 && language < Localisation::kLanguageCount;
    return QString::fromUtf16(row[static_cast<std::size_t>(known ? language : 1)]);
}

QLocale localeOfLanguage(int language)
{
    static const QLocale::Language kLocales[] = {QLocale::Polish, QLocale::English,
                                                 QLocale::German};
    const bool known = language >= 0 && language < Localisation::kLanguageCount;
    return QLocale(kLocales[known ? language : 1]);
}

QString fixedText(FixedText which, int language)
{
    return textIn(kTexts[static_cast<std::size_t>(which)], language);
}

QString onOffText(bool on, int language)
{
    static const LanguageRow kOn{u"wł.", u"on", u"ein"};
    static const LanguageRow kOff{u"wył.", u"off", u"aus"};
    return textIn(on ? kOn : kOff, language);
}

QString phaseText(TransferPhase phase, int language)
{
    static constexpr FixedText kNames[] = {
        FixedText::PhaseKeepingFirst, FixedText::PhaseWriting, FixedText::PhaseChecking,
        FixedText::PhaseWritingAgain, FixedText::PhaseReading, FixedText::PhaseReadingAgain,
        FixedText::PhaseConfirming,
    };
    return fixedText(kNames[static_cast<std::size_t>(phase)], language);
}

} // namespace q540
