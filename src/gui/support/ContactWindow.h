#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>

class QFrame;
class QGroupBox;
class QLabel;

namespace q540 {

// How a window hands a web page or a "mailto:" address to the user's default program.
// The windows never wait for it and report nothing when no program takes the address.
using UrlOpener = std::function<void(const QUrl&)>;
void openWithDefaultProgram(const QUrl& url);

// The borderless contact window: a picture in the program's language, links to the web
// site, the support site and the e-mail address of the user's language, and the postal
// address for users abroad. A new one is made for every opening.
class ContactWindow final : public QDialog {
    Q_OBJECT

public:
    // language: 0 Polish, 1 English, 2 German (language); links go through openUrl, the
    // default program when none is given.
    explicit ContactWindow(int language, UrlOpener openUrl = {}, QWidget* parent = nullptr);
    // Offers "Save support report…": the window closes, then save runs.
    void offerSupportReport(std::function<void()> save);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addLink(const char* name, const QString& text, QWidget* parent);
    void Label6Click();
    void Label_wsparcieClick();
    void Label3Click();
    void setOkBoxColour(const QColor& colour);

    int language_;
    UrlOpener openUrl_;
    QLabel* Label6_;
    QLabel* Label_wsparcie_;
    QLabel* Label3_;
    QFrame* GroupBox1_;
    QLabel* Label1_;
    QGroupBox* GroupBox_adres_;
    QLabel* supportReport_;
    std::function<void()> saveSupportReport_;
};

} // namespace q540
