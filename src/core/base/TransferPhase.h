#pragma once

#include <QString>

namespace q540 {

// The step of a module workflow that a progress bar stands for, so the user
// knows whether the module is being read, written or checked.
enum class TransferPhase {
    KeepingFirst, // reading the module's directory before it is overwritten
    Writing,
    Checking,
    WritingAgain,
    Reading,
    ReadingAgain,
    Confirming, // reading the configuration back after a settings change
};

// Its name in a program language (0..2).
QString phaseText(TransferPhase phase, int language);

// Whether stopping it leaves the module half written, so that a cancel asks
// first; a read stops at once.
constexpr bool cancelAsksFirst(TransferPhase phase)
{
    return phase == TransferPhase::Writing || phase == TransferPhase::WritingAgain;
}

} // namespace q540
