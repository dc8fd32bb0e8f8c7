#pragma once

#include "base/UserSink.h"

#include <QStringList>

#include <atomic>
#include <optional>

class QProgressBar;
class QPushButton;
class QWidget;

namespace q540 {

class Localisation;

// The user sink of the desktop program: modal message boxes over the main
// window and the progress bar it makes for the window to place.
class WidgetSink final : public UserSink {
public:
    WidgetSink(QWidget* parent, const Localisation& texts);

    QProgressBar* progressBar() const { return progress_; }
    // Shown with the progress: asks the transfer to stop after its block in flight.
    QPushButton* cancelButton() const { return cancel_; }

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    // Before leaving unsaved work: Save (the default), Discard or Cancel.
    enum class SaveChoice { Save, Discard, Cancel };
    SaveChoice askToSave(const QString& text);
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void showTimeLeft(const QString& text) override;
    // Named on the bar; a write's phase asks before Cancel or Esc stops it.
    void showPhase(TransferPhase phase) override;
    // Read by the transfer's worker thread.
    bool cancelRequested() override { return cancelRequested_; }

    // The last messages shown, each with its time, oldest first.
    QStringList recentMessages() const { return recent_; }

private:
    void cancelClicked();
    void showFormat();

    const Localisation& texts_;
    std::optional<TransferPhase> phase_;
    QString timeLeft_;
    QStringList recent_;
    QWidget* parent_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    std::atomic<bool> cancelRequested_{false};
};

} // namespace q540
