#include "print/PaintingApplication.h"

#include <QGuiApplication>

namespace q540 {

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool paints)
{
    if (!paints)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

bool canPaint()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace q540
