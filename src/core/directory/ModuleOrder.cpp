#include "directory/ModuleOrder.h"

#include "base/FixedTexts.h"

#include <QLocale>

#include <array>

namespace q540 {

namespace {

struct OrderChoice {
    const char* locale;
    QLocale::Language language;
    FixedText name;
};

const std::array<OrderChoice, kModuleOrderCount> kChoices{{
    {"", QLocale::AnyLanguage, FixedText::OrderSystem},
    {"pl", QLocale::Polish, FixedText::OrderPolish},
    {"en", QLocale::English, FixedText::OrderEnglish},
    {"de", QLocale::German, FixedText::OrderGerman},
    {"nb", QLocale::NorwegianBokmal, FixedText::OrderNorwegian},
    {"sv", QLocale::Swedish, FixedText::OrderSwedish},
    {"cs", QLocale::Czech, FixedText::OrderCzech},
    {"ru", QLocale::Russian, FixedText::OrderRussian},
}};

// The program's languages as QLocale names them, by program language number.
constexpr std::array<QLocale::Language, 3> kProgramLanguages{QLocale::Polish, QLocale::English,
                                                             QLocale::German};

const OrderChoice& choiceOf(int choice)
{
    return kChoices[choice >= 0 && choice < kModuleOrderCount ? std::size_t(choice) : 0];
}

} // namespace

QString moduleOrderLocale(int choice)
{
    return QString::fromLatin1(choiceOf(choice).locale);
}

QString moduleOrderEffectiveLocale(int choice)
{
    const QString locale = moduleOrderLocale(choice);
    return locale.isEmpty() ? QLocale::system().name() : locale;
}

QString moduleOrderName(int choice, int language)
{
    const QString name = fixedText(choiceOf(choice).name, language);
    return moduleOrderLocale(choice).isEmpty() ? name.arg(QLocale::system().name()) : name;
}

std::optional<int> moduleOrderOfLocaleName(const QString& name)
{
    if (name == QLatin1String("system"))
        return kModuleOrderSystem;
    // QLocale takes "no" for Bokmål, and anything it cannot parse for C.
    const QLocale::Language language = QLocale(name).language();
    for (int choice = 1; choice < kModuleOrderCount; ++choice)
        if (kChoices[std::size_t(choice)].language == language)
            return choice;
    return std::nullopt;
}

QString moduleOrderNote(int choice, int language)
{
    const QString locale = moduleOrderEffectiveLocale(choice);
    const QLocale::Language ordered = QLocale(locale).language();
    const std::size_t program = language >= 0 && language < 3 ? std::size_t(language) : 1;
    if (ordered == kProgramLanguages[program])
        return {};
    // The system's order is named by its language when it is one of the seven.
    const std::optional<int> named = moduleOrderOfLocaleName(locale);
    const QString name = moduleOrderName(named.value_or(kModuleOrderSystem), language);
    return fixedText(FixedText::OrderNote, language).arg(name);
}

} // namespace q540
