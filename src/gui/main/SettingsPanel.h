#pragma once

#include "gui/support/ContactWindow.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace q540 {

class Localisation;
class ModuleMonitor;

// Form_Panel_Edycji: the one small settings panel of the main window, made
// once and prepared for a mode before each showing: 1 the version page, 2
// the installer password, 3 the module's language. What it changes goes
// through the module monitor; the panel only shows and forwards.
class SettingsPanel final : public QDialog {
    Q_OBJECT

public:
    static constexpr int kVersionMode = 1;
    static constexpr int kPasswordMode = 2;
    static constexpr int kLanguageMode = 3;

    // The version page's update check goes through openUrl, the default
    // browser when none is given.
    SettingsPanel(ModuleMonitor& monitor, const Localisation& texts, QWidget* parent = nullptr,
                  UrlOpener openUrl = {});

    // Sizes the panel to the mode's group box and centres it on its owner.
    void Ustaw_Formatke_Panelow_Edycji(int Nr_Panelu);
    // Shows the panel in a mode and waits for it, with the status poll
    // suspended so that the panel's exchanges have the device alone.
    void execWithPollSuspended(int Nr_Panelu);
    int mode() const { return mode_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* buildVersionBox();
    QGroupBox* buildPasswordBox();
    QGroupBox* buildLanguageBox();
    void showVersionMode();
    void showPasswordMode();
    void showLanguageMode();
    void D1_Button_Zatwierdz_zmiane_ParametrowClick();
    void Button_Odczyt_jezykaClick();
    void Button_zapis_jezyka_do_moduluClick();
    void ComboBox_jezyk_moduluClick();
    void Button1Click();
    void updateWriteButton();
    void fitToBox();

    ModuleMonitor& monitor_;
    const Localisation& texts_;
    UrlOpener openUrl_;
    int mode_ = 0;
    QGroupBox* versionBox_ = nullptr;
    QGroupBox* passwordBox_ = nullptr;
    QGroupBox* languageBox_ = nullptr;
    QLabel* passwordLabel_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QPushButton* confirm_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* readLanguage_ = nullptr;
    QPushButton* writeLanguage_ = nullptr;
    QPushButton* close_ = nullptr;
    QComboBox* language_ = nullptr;
    QLabel* codeLabel_ = nullptr;
};

} // namespace q540
