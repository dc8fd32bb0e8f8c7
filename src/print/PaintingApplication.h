#pragma once

#include <QCoreApplication>

#include <memory>

namespace q540 {

// The application object of a headless program: a plain one, or, when it
// paints (a PDF needs fonts), a GUI application on the offscreen platform
// unless another platform is asked for, so that no display is needed.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool paints);

// Whether this program's application can paint.
bool canPaint();

} // namespace q540
