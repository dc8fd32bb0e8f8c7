#pragma once

#include "device/DeviceGate.h"
#include "module/ModuleOperation.h"
#include "module/ModuleSettings.h"
#include "module/ModuleStatus.h"
#include "module/PollWorker.h"

#include <QObject>
#include <QTimer>

#include <optional>

namespace q540 {

class Clock;
class Localisation;
class UserSink;

// Watches the module for the main window: Timer1 starts a poll every
// 1500 ms on the worker, the outcome is applied here on the user-interface
// thread, and the module's settings commands run through the same device
// gate with the poll stopped around them. The window shows status() and
// forwards its clicks; nothing here knows a widget.
class ModuleMonitor final : public QObject, public PollControl {
    Q_OBJECT

public:
    ModuleMonitor(Link& device, Clock& clock, const Localisation& texts, UserSink& sink,
                  QObject* parent = nullptr);
    ~ModuleMonitor() override;

    const ModuleStatus& status() const { return status_; }
    ModuleStatus& status() { return status_; }
    // The installer password the program holds (Edit_haslo).
    const QString& password() const { return password_; }
    // The user-interface thread's own way to the device, behind the gate.
    Link& link() { return link_; }
    Clock& clock() { return clock_; }
    UserSink& sink() { return sink_; }
    const Localisation& texts() const { return texts_; }

    // Timer1: stopped while a user-started operation runs. An outcome of a
    // poll that was running when the timer stopped is dropped: the operation
    // owns the module status until it resumes the poll.
    void suspend() override;
    void resume() override;
    // For good, before what the poll reaches (the device, the clock) goes:
    // Timer1 stops, a poll in flight is waited for and its outcome dropped,
    // and no poll starts again, whatever resumes or asks for one later.
    void stop();
    bool isTimerActive() const { return timer_.isActive(); }
    // One tick of Timer1: starts a poll unless one is running.
    void Timer1Timer();
    // One poll at once, without waiting for the timer; when a poll is
    // running, another follows it.
    void pollNow();
    // The identification on this thread, as the transfers and the reset
    // lock run it; waits for a running poll at the gate.
    void identifyNow();

    // Password entry (the panel's confirm button): pads the entry, takes it
    // as the program's password and, when the module's password was
    // confirmed, stores it in the module. Returns the padded text.
    QString enterPassword(const QString& entered);
    // sendPassword: stores the program's password in the module.
    void sendPassword();
    // The module-language commands of the settings panel.
    std::optional<LanguageReading> readLanguage();
    // True when the language was sent.
    Outcome writeLanguage(int code);
    // changeResetLock, after the user changed the tick.
    void changeResetLock(bool locked);

signals:
    // The status changed and the window should show it again.
    void statusChanged();
    // The identification set the alphabetical-search tick: the name list is
    // rebuilt as after the user's click.
    void alphabeticalSearchSet(bool ticked);
    // The identification read the configuration block: the intro time the
    // module holds is in status().introTimeIndex.
    void configurationRead();

private:
    // The poll reads the configuration again after a change, as after any
    // entry of the password, so the tool bar follows what the module holds.
    void readConfigurationAgain();
    void startPoll();
    void applyPoll(const IdentificationOutcome& outcome);
    void apply(const IdentificationOutcome& outcome);

    Clock& clock_;
    const Localisation& texts_;
    UserSink& sink_;
    DeviceGate gate_;
    GatedLink link_;
    // Empty once stopped.
    std::optional<PollWorker> worker_;
    QTimer timer_;
    ModuleStatus status_;
    QString password_ = QString::fromLatin1(protocol::kDefaultPassword);
    // Counts the suspensions; a poll's outcome is applied only when no
    // suspension came between its start and its end.
    unsigned suspensions_ = 0;
    unsigned pollStartedAt_ = 0;
    bool pollAgain_ = false;
};

} // namespace q540
