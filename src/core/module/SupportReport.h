#pragma once

#include "device/TraceRecorder.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace q540 {

// What a support report is made of; the program's and system's versions
// are its own.
struct SupportReportInput {
    QString connectionCheck; // the check's report as text
    QStringList commandLine; // the program's arguments, its name first
    QStringList recentMessages;
    std::vector<RecordedTrace> traces;
    // Resident names are personal data: without this, the directory's text
    // bytes are masked in every trace.
    bool includeDirectory = false;
};

// The report as one text file: program version, system, Qt and ICU
// versions, locale, command line, the connection check, the recent messages
// and the traces. The installer password is masked everywhere, whatever the
// directory's choice: support never needs it.
QString supportReportText(const SupportReportInput& input);

// The arguments with a --password's value shown as "****".
QStringList maskPasswordOption(QStringList arguments);

} // namespace q540
