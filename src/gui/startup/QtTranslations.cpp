#include "gui/startup/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace q540 {

bool applyQtTranslations(int language)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const char* name = language == 0 ? "qtbase_pl" : language == 2 ? "qtbase_de" : nullptr;
    if (!name)
        return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLatin1String(name), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    installed = std::move(translator);
    return true;
}

} // namespace q540
