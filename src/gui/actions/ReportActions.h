#pragma once

#include "device/SystemProbe.h"
#include "gui/actions/WindowParts.h"
#include "module/ConnectionCheck.h"

#include <QObject>

#include <memory>

namespace q540 {

// What the window gives out about the directory and the program: the
// printout and its PDF, the contact and version pages, the connection check
// and the support report.
class ReportActions final : public QObject {
    Q_OBJECT

public:
    explicit ReportActions(const WindowParts& parts);

    // File > Print… and Export PDF…: the directory as the module will hold it.
    void printClick();
    void exportPdfClick();
    // The command Contact: the contact window in the current language.
    void Informacja1Click();
    // The command Check version: the version page, with the update check in the browser.
    void Sprwersj2Click();
    // The command Connection check: the check's window, the poll held meanwhile.
    void connectionCheckClick();
    ConnectionReport runConnectionCheck();
    // What the connection check reads the system through; none for the demo,
    // whose module no cable leads to.
    void setSystemProbe(std::unique_ptr<SystemProbe> system);
    // "Save support report…" (offered in the contact window): asks whether the
    // directory goes in, runs the connection check and saves the report.
    void saveSupportReport();

private:
    WindowParts parts_;
    std::unique_ptr<SystemProbe> system_;
};

} // namespace q540
