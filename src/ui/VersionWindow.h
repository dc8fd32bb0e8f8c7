#pragma once

#include "ui/ContactWindow.h"

#include <QDialog>

namespace q540 {

// The version page: a small modal window captioned with the program file's version. The
// update-check page itself opens in the user's default browser each time the window is
// shown, and that page says whether a newer version exists.
class VersionWindow final : public QDialog {
    Q_OBJECT

public:
    // jezyk: the main window's language (0 Polish, 1 English, 2 German); the page goes
    // through openUrl, the default browser when none is given.
    explicit VersionWindow(int jezyk, UrlOpener openUrl = {}, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int m_jezyk;
    UrlOpener m_openUrl;
};

} // namespace q540
