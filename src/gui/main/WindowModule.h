#pragma once

#include "device/Clock.h"

#include <memory>

class QWidget;

namespace q540 {

class Link;
class Localisation;
class ModuleMonitor;
class SettingsPanel;
class TraceRecorder;
class UserSink;

// The module as the window knows it: before attach, behind a device that is
// never there; after, behind the attached one, every connection traced for a
// support report. The settings panel works on the monitor, so a new monitor
// comes with a new panel. What the monitor and its poll reach is declared
// before it, so that it outlives the monitor.
class WindowModule {
public:
    WindowModule(QWidget& window, const Localisation& texts, UserSink& sink);
    ~WindowModule();

    ModuleMonitor& monitor() const { return *monitor_; }
    SettingsPanel& panel() const { return *panel_; }
    // The connections traced since attach; none before.
    const TraceRecorder* recorder() const { return recorder_.get(); }
    // Watches the module behind this device from now on, with a poll that
    // waits to be resumed.
    void attach(Link& device, Clock& clock);

private:
    QWidget& window_;
    const Localisation& texts_;
    UserSink& sink_;
    std::unique_ptr<Link> noCable_;
    SystemClock systemClock_;
    std::unique_ptr<TraceRecorder> recorder_;
    std::unique_ptr<ModuleMonitor> monitor_;
    // A child of the window, which deletes it.
    SettingsPanel* panel_ = nullptr;
};

} // namespace q540
