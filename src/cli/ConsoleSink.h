#pragma once

#include "base/UserSink.h"

#include <QString>
#include <QTextStream>

namespace q540::cli {

// Whether Ctrl+C was pressed, or SIGTERM or SIGHUP came, since the program started.
bool interrupted();

// The user as the headless tool has one: messages go to standard error, a
// question is answered by the command line, and the progress bar is drawn
// on standard error only when it is a terminal.
class ConsoleSink final : public UserSink {
public:
    // language: the program language (0..2) that a phase is named in.
    explicit ConsoleSink(QTextStream& err, bool answerYes = false, int language = 1);
    ~ConsoleSink() override;

    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    void showProgress(int maximum) override;
    void stepProgress() override;
    void hideProgress() override;
    void showTimeLeft(const QString& text) override;
    // Named at the start of each phase's bar, and as a line where there is no bar.
    void showPhase(TransferPhase phase) override;
    // Ctrl+C, SIGTERM or SIGHUP, as the command line's signal handler noted it.
    bool cancelRequested() override;

private:
    void drawProgress();
    // A run of the same message (a read that finds one bad block after
    // another) is printed once, with its count when the run ends.
    void endRepeats();

    QTextStream& err_;
    bool answerYes_;
    int language_;
    QString phase_;
    bool phaseToLog_ = false;
    bool terminal_;
    QString lastMessage_;
    int maximum_ = 0;
    int position_ = 0;
    QString timeLeft_;
    bool progressShown_ = false;
    int repeats_ = 0;
};

} // namespace q540::cli
