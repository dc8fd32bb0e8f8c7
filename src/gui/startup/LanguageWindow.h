#pragma once

#include <QDialog>

#include <functional>

class QButtonGroup;

namespace q540 {

class Localisation;
class SettingsFile;
class UserSink;

// The modal window in which the user chooses the program's language. A new one is made
// for every opening, so it always starts from the current language.
class LanguageWindow final : public QDialog {
    Q_OBJECT

public:
    // jezyk is the main window's language (0..2), jezyk_modulu its last-known module
    // display language; both, and everything else given, must outlive the window.
    // applyLanguage re-captions the main window in the language of texts.
    LanguageWindow(Localisation& texts, int& jezyk, int& jezyk_modulu, SettingsFile& settings,
                   UserSink& sink, std::function<void()> applyLanguage, QWidget* parent = nullptr);

private:
    void Button1Click();

    Localisation& texts_;
    int& jezyk_;
    int& jezyk_modulu_;
    SettingsFile& settings_;
    UserSink& sink_;
    std::function<void()> applyLanguage_;
    QButtonGroup* languages_;
};

} // namespace q540
