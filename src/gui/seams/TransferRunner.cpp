#include "gui/seams/TransferRunner.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QThread>
#include <QWidget>

namespace q540 {

namespace {

const QString kCancelButtonName = QStringLiteral("CancelTransfer");

} // namespace

TransferRunner::TransferRunner(QWidget& window, UserSink& sink, PollControl& poll)
    : QObject(&window), window_(window), sink_(sink), poll_(poll)
{
}

bool TransferRunner::run(const std::function<void()>& transfer)
{
    if (running_)
        return false;
    running_ = true;
    qApp->installEventFilter(this);
    QEventLoop loop;
    QThread* worker = QThread::create(transfer);
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    qApp->removeEventFilter(this);
    running_ = false;
    return true;
}

bool TransferRunner::eventFilter(QObject* watched, QEvent* event)
{
    // Input to the main window waits for the transfer's end; the message
    // boxes the transfer opens are windows of their own and take it.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close: {
        // A menu's shortcut (Ctrl+Z, Ctrl+P) goes to its action, no widget:
        // it waits as well.
        if (event->type() == QEvent::Shortcut && qobject_cast<QAction*>(watched)) {
            event->ignore();
            return true;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != &window_)
            break;
        // The transfer's Cancel button, and Esc for it, are what the window
        // still takes.
        if (widget->objectName() == kCancelButtonName)
            break;
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (auto* cancel = window_.findChild<QAbstractButton*>(kCancelButtonName);
                cancel && cancel->isVisible())
                cancel->click();
        }
        event->ignore();
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void TransferRunner::onWindowThread(const std::function<void()>& f)
{
    if (QThread::currentThread() == thread())
        f();
    else
        QMetaObject::invokeMethod(this, f, Qt::BlockingQueuedConnection);
}

void TransferRunner::showMessage(const QString& text)
{
    onWindowThread([&] { sink_.showMessage(text); });
}

bool TransferRunner::askYesNo(const QString& text, const QString& caption)
{
    bool yes = false;
    onWindowThread([&] { yes = sink_.askYesNo(text, caption); });
    return yes;
}

void TransferRunner::showProgress(int maximum)
{
    onWindowThread([&] { sink_.showProgress(maximum); });
}

void TransferRunner::stepProgress()
{
    onWindowThread([&] { sink_.stepProgress(); });
}

void TransferRunner::showTimeLeft(const QString& text)
{
    onWindowThread([&] { sink_.showTimeLeft(text); });
}

void TransferRunner::hideProgress()
{
    onWindowThread([&] { sink_.hideProgress(); });
}

void TransferRunner::showPhase(TransferPhase phase)
{
    onWindowThread([&] { sink_.showPhase(phase); });
}

void TransferRunner::suspend()
{
    onWindowThread([&] {
        poll_.suspend();
        if (pollStopped)
            pollStopped();
    });
}

void TransferRunner::resume()
{
    onWindowThread([&] { poll_.resume(); });
}

} // namespace q540
