#include "base/FixedTexts.h"

#include "base/Localisation.h"

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
};

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

} // namespace q540
