#pragma once

#include "module/ConnectionCheck.h"

#include <QDialog>

#include <functional>

class QTextBrowser;

namespace q540 {

// The connection check as a window: each finding with its mark and, where
// something is wrong, what to do; checked again on request, copied as text.
class ConnectionCheckWindow final : public QDialog {
    Q_OBJECT

public:
    // check runs the whole check and returns its report (it may take a
    // moment: it greets the module).
    ConnectionCheckWindow(std::function<ConnectionReport()> check, int language,
                          QWidget* parent = nullptr);

    const ConnectionReport& report() const { return report_; }
    void checkAgain();

private:
    void show(const ConnectionReport& report);

    std::function<ConnectionReport()> check_;
    int language_;
    ConnectionReport report_;
    QTextBrowser* view_;
};

} // namespace q540
