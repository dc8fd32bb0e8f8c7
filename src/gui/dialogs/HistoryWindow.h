#pragma once

#include "files/History.h"

#include <QDialog>

class QTableWidget;
class QPushButton;

namespace q540 {

// The kept module reads and writes, newest first: date, operation, module
// and entries. Open (or a double-click) chooses one to open as a new document.
class HistoryWindow final : public QDialog {
    Q_OBJECT

public:
    HistoryWindow(const History& history, int language, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }
    QPushButton* openButton() const { return open_; }
    // The file chosen with Open; empty when the window was closed without.
    const QString& chosen() const { return chosen_; }

private:
    void openSelected();

    std::vector<HistoryEntry> entries_;
    QTableWidget* table_;
    QPushButton* open_ = nullptr;
    QString chosen_;
};

} // namespace q540
