#include "module/Configuration.h"

#include "directory/IntroScreens.h"
#include "module/ModuleStatus.h"

namespace q540 {

protocol::ConfigurationNibbles configurationNibbles(int countField, const QString& typedPassword,
                                                    const ModuleStatus& status)
{
    // The password goes back as typed; the write runs only when it matches
    // the module's, so the module keeps its password.
    protocol::ConfigurationFields fields;
    fields.countField = countField;
    fields.passwordFirst = typedPassword.left(2).toInt();
    fields.passwordSecond = typedPassword.mid(2, 2).toInt();
    fields.resetAllowed = !status.resetLockTicked;
    fields.languageCode = status.jezyk_modulu;
    fields.introTimeSeconds = introTimeSeconds(status.introTimeIndex);
    fields.alphabeticalSearch = status.alphabeticalSearchTicked;
    return protocol::encodeConfiguration(fields);
}

} // namespace q540
