#pragma once

#include <QString>

#include <vector>

namespace q540 {

class Clock;
class Link;
class SystemProbe;

// One finding of the connection check: what was looked at, what was found
// and, where something is wrong, what to do about it.
struct CheckStep {
    enum class Verdict { Good, Note, Problem };
    Verdict verdict = Verdict::Good;
    QString title;
    QString finding;
    QString advice;
};

struct ConnectionReport {
    std::vector<CheckStep> steps;
    // A well-formed hello reply came back.
    bool moduleAnswered = false;
};

// What the check looks at. Without a system (the demo's module, which no
// cable leads to) only the module is looked at.
struct CheckSubject {
    const SystemProbe* system = nullptr;
    Link& link;
    Clock& clock;
    // The port given on the command line; empty: the cable as the program finds it.
    QString port;
};

// Looks at the driver library, the FTDI devices and their drivers, the
// cable's port (permissions, holders, latency timer) and the module behind
// it, in that order, in a program language (0..2). Opens the link once
// for the module and closes it again.
ConnectionReport checkConnection(const CheckSubject& subject, int language);

// The report as plain text, a line for each finding and its advice.
QString reportText(const ConnectionReport& report, int language);

} // namespace q540
