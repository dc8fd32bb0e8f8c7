#include "demo/DemoModule.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "directory/NameList.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"
#include "module/ModuleOperation.h"
#include "module/ModuleSettings.h"
#include "module/ModuleStatus.h"
#include "protocol/Protocol.h"

#include <array>

namespace q540::sim {

namespace {

constexpr const char16_t* kSurnames[] = {
    u"Nowak",       u"Kowalski",  u"Wiśniewski",  u"Wójcik",   u"Kowalczyk",  u"Kamiński",
    u"Lewandowski", u"Zieliński", u"Szymański",   u"Woźniak",  u"Dąbrowski",  u"Kozłowski",
    u"Jankowski",   u"Mazur",     u"Kwiatkowski", u"Krawczyk", u"Piotrowski", u"Grabowski",
    u"Nowakowski",  u"Pawłowski", u"Michalski",   u"Nowicki",  u"Adamczyk",   u"Dudek",
    u"Zając",       u"Wieczorek", u"Jabłoński",   u"Król",     u"Majewski",   u"Olszewski",
    u"Jaworski",    u"Wróbel",    u"Malinowski",  u"Pawlak",   u"Witkowski",  u"Walczak",
    u"Stępień",     u"Górski",    u"Rutkowski",   u"Michalak"};
constexpr const char16_t* kFirstNames[] = {u"Anna", u"Piotr", u"Małgorzata", u"Krzysztof",
                                           u"Agnieszka"};

void put(DirectoryGrid& grid, int row, int firstColumn, const QString& text)
{
    for (int i = 0; i < text.size(); ++i)
        grid.setCell(row, firstColumn + i, Cell(text.at(i)));
}

// The demo writes through the program's own transfers, with nothing to show.
class Quiet final : public UserSink {
public:
    void showMessage(const QString&) override {}
    // An empty directory is preloaded as an erased module.
    bool askYesNo(const QString&, const QString&) override { return true; }
    void showProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
};

} // namespace

DirectoryGrid demoDirectory()
{
    DirectoryGrid grid;
    int n = 0;
    for (const char16_t* surname : kSurnames) {
        for (const char16_t* firstName : kFirstNames) {
            // 90 apartments in zone 1, 70 in zone 2, 40 in zone 3.
            const int zone = n < 90 ? 0 : n < 160 ? 1 : 2;
            const int apartment = n < 90 ? n + 1 : n < 160 ? n - 89 : n - 159;
            const int row = zoneRow(zone, apartment);
            put(grid, row, 1, QString::fromUtf16(surname));
            put(grid, row, kLine2FirstColumn, QString::fromUtf16(firstName));
            ++n;
        }
    }
    put(grid, additionalNumberRow(1), 1, QStringLiteral("Administrator"));
    put(grid, additionalNumberRow(2), 1, QStringLiteral("Portiernia"));
    return grid;
}

IntroLines demoIntro()
{
    return {QStringLiteral("Witamy"),     QStringLiteral("ul. Lipowa 12"),
            QStringLiteral("Wybierz"),    QStringLiteral("numer lokalu"),
            QStringLiteral("Szukaj"),     QStringLiteral("nazwiska: A-Z"),
            QStringLiteral("Moduł demo"), QStringLiteral("bez kabla")};
}

void loadDemoModule(ModuleEmulator& module, const Localisation& texts)
{
    const PasswordPairs password = *passwordPairs(QString::fromLatin1(protocol::kDefaultPassword));
    module.setPasswordFirstHalf(password.first);
    module.setPasswordSecondHalf(password.second);
    module.setLanguageCode(1);
    preloadModule(module, demoDirectory(), demoIntro(), 2, texts);
}

bool preloadModule(ModuleEmulator& module, const DirectoryGrid& grid, const IntroLines& intro,
                   int introTimeIndex, const Localisation& texts)
{
    VirtualClock clock;
    EmulatedLink link(module, clock);
    Quiet quiet;
    NoPoll noPoll;
    const TransferContext context{link, clock, quiet, noPoll, texts};
    // The module's own password, so that the writes are let in and keep it.
    const QString password = QStringLiteral("%1%2")
                                 .arg(module.passwordFirstHalf(), 2, 10, QLatin1Char('0'))
                                 .arg(module.passwordSecondHalf(), 2, 10, QLatin1Char('0'));

    NameList list(grid, QStringLiteral("pl"));
    list.rebuild(0, quiet, texts);
    ModuleStatus status;
    const auto keepTime = [introTimeIndex](ModuleStatus& s) { s.introTimeIndex = introTimeIndex; };
    const Outcome written = q540::sendDirectory(context, list.rows(), password, status, {keepTime});
    keepTime(status);
    const Outcome introWritten = q540::sendIntro(context, intro, status);
    module.clearTranscript();
    return written.isDone() && introWritten.isDone();
}

DemoModule::DemoModule(const Localisation& texts)
{
    loadDemoModule(module_, texts);
}

std::unique_ptr<Link> DemoModule::connect(Clock& clock)
{
    // The demo's transfers take the time a real cable takes, so that the
    // progress and its time left look as they will on site.
    auto link = std::make_unique<EmulatedLink>(module_, clock);
    link->modelCable({});
    return link;
}

} // namespace q540::sim
