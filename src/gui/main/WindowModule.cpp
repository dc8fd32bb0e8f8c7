#include "gui/main/WindowModule.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/UserSink.h"
#include "device/TraceRecorder.h"
#include "gui/main/SettingsPanel.h"
#include "module/ModuleMonitor.h"

#include <QWidget>

namespace q540 {

WindowModule::WindowModule(QWidget& window, const Localisation& texts, UserSink& sink)
    : window_(window), texts_(texts), sink_(sink), noCable_(std::make_unique<AbsentLink>()),
      monitor_(std::make_unique<ModuleMonitor>(*noCable_, systemClock_, texts_, sink_)),
      panel_(new SettingsPanel(*monitor_, texts_, &window_))
{
}

WindowModule::~WindowModule() = default;

void WindowModule::attach(Link& device, Clock& clock)
{
    delete panel_;
    // The monitor that used the old recorder goes first.
    auto recorder = std::make_unique<TraceRecorder>(device, clock);
    // Found on the poll's or a transfer's thread; told on the window's.
    recorder->onFailure([this](const QString& reason) {
        QMetaObject::invokeMethod(
            &window_,
            [this, reason] {
                sink_.showMessage(
                    fixedText(FixedText::TraceNotWritten, texts_.language()).arg(reason));
            },
            Qt::QueuedConnection);
    });
    monitor_ = std::make_unique<ModuleMonitor>(*recorder, clock, texts_, sink_);
    recorder_ = std::move(recorder);
    panel_ = new SettingsPanel(*monitor_, texts_, &window_);
}

} // namespace q540
