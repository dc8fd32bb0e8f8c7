#pragma once

// For GUI tests only: needs QtWidgets, so it stays a header the support
// library does not compile.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

namespace q540::test {

// Answers the modal windows that a command opens while it runs: every
// message box is recorded and answered (Yes for a question when
// answerYes, else No; OK otherwise); a box of choices of its own (the
// offer to keep the module's directory first) is recorded apart and
// answered by the button of offerRole; any other modal window is handed once
// to onModal, out of the tick that found it, so that the message boxes it
// opens in turn meet the next ticks. whileOpen runs once for each modal
// window before it is answered, with the window still open.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> onModal = {}) : onModal_(std::move(onModal))
    {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

    QStringList messages;
    bool answerYes = true;
    QStringList offers;
    QMessageBox::ButtonRole offerRole = QMessageBox::DestructiveRole;
    std::function<void()> whileOpen;

private:
    void tick()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (inWhileOpen_)
            return;
        if (modal && whileOpen && modal != seen_) {
            seen_ = modal;
            inWhileOpen_ = true;
            whileOpen();
            inWhileOpen_ = false;
        }
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            QAbstractButton* answer = box->button(answerYes ? QMessageBox::Yes : QMessageBox::No);
            if (ok || answer) {
                messages << box->text();
                (ok ? ok : answer)->click();
                return;
            }
            offers << box->text();
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == offerRole)
                    return button->click();
        } else if (modal && onModal_) {
            QTimer::singleShot(0, modal, [act = onModal_, modal] { act(modal); });
            onModal_ = nullptr;
        }
    }

    std::function<void(QWidget*)> onModal_;
    QPointer<QWidget> seen_;
    bool inWhileOpen_ = false;
    QTimer timer_;
};

} // namespace q540::test
