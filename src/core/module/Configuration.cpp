#include "module/Configuration.h"

#include "base/FixedTexts.h"
#include "directory/IntroScreens.h"
#include "module/ModuleStatus.h"

namespace q540 {

using protocol::ConfigurationFields;
using protocol::ConfigurationNibbles;

protocol::ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                                    const ModuleStatus& status)
{
    // The password goes back as typed; the write runs only when it matches
    // the module's, so the module keeps its password.
    protocol::ConfigurationFields fields;
    fields.countField = countField;
    fields.passwordFirst = typedPassword.left(2).toInt();
    fields.passwordSecond = typedPassword.mid(2, 2).toInt();
    fields.resetAllowed = !status.chosen.resetLock;
    fields.languageCode = status.moduleLanguage;
    fields.introTimeSeconds = introTimeSeconds(status.introTimeIndex);
    fields.alphabeticalSearch = status.chosen.alphabeticalSearch;
    return protocol::encodeConfiguration(fields);
}

using Field = ConfigurationDifference::Field;

int configurationValue(const ConfigurationNibbles& nibbles, ConfigurationDifference::Field field)
{
    const ConfigurationFields f = protocol::decodeConfiguration(nibbles);
    switch (field) {
    case Field::EntryCount:
        return f.countField + 1;
    case Field::Password:
        return f.passwordFirst * 100 + f.passwordSecond;
    case Field::ResetLock:
        return f.resetAllowed ? 0 : 1;
    case Field::Language:
        return f.languageCode;
    case Field::IntroTime:
        return f.introTimeSeconds;
    case Field::AlphabeticalSearch:
        return f.alphabeticalSearch ? 1 : 0;
    }
    return 0;
}

std::vector<ConfigurationDifference> compareConfiguration(const ConfigurationNibbles& sent,
                                                          const ConfigurationNibbles& held)
{
    std::vector<ConfigurationDifference> found;
    for (const Field field : {Field::EntryCount, Field::Password, Field::ResetLock, Field::Language,
                              Field::IntroTime, Field::AlphabeticalSearch}) {
        const int written = configurationValue(sent, field);
        const int kept = configurationValue(held, field);
        if (written != kept)
            found.push_back({field, written, kept});
    }
    return found;
}

QString configurationFieldText(ConfigurationDifference::Field field, int language)
{
    static constexpr FixedText kNames[] = {
        FixedText::ConfigurationEntryCount, FixedText::ConfigurationPassword,
        FixedText::ConfigurationResetLock,  FixedText::ConfigurationLanguage,
        FixedText::ConfigurationIntroTime,  FixedText::ConfigurationAlphabeticalSearch,
    };
    return fixedText(kNames[std::size_t(field)], language);
}

QString configurationValueText(ConfigurationDifference::Field field, int value, int language)
{
    switch (field) {
    case Field::Password:
        return QStringLiteral("%1").arg(value, 4, 10, QLatin1Char('0'));
    case Field::Language:
        if (const QString code = moduleLanguageCode(value); !code.isEmpty())
            return QString::number(value) + u' ' + code;
        break;
    case Field::ResetLock:
    case Field::AlphabeticalSearch:
        return onOffText(value != 0, language);
    case Field::EntryCount:
    case Field::IntroTime:
        break;
    }
    return QString::number(value);
}

QString differenceText(const ConfigurationDifference& difference, int language)
{
    return fixedText(FixedText::DifferenceInConfiguration, language)
        .arg(configurationFieldText(difference.field, language),
             configurationValueText(difference.field, difference.written, language),
             configurationValueText(difference.field, difference.held, language));
}

} // namespace q540
