#include "gui/seams/WidgetSink.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "gui/startup/Look.h"

#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>

namespace q540 {

WidgetSink::WidgetSink(QWidget* parent, const Localisation& texts)
    : texts_(texts), parent_(parent), progress_(new QProgressBar), cancel_(new QPushButton)
{
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 255);
    progress_->hide();
    // The transfer runner lets this one button through while it holds the window's input.
    cancel_->setObjectName(QStringLiteral("CancelTransfer"));
    cancel_->hide();
    QObject::connect(cancel_, &QPushButton::clicked, [this] { cancelClicked(); });
}

// A read stops at once; a write stopped halfway leaves the module's
// directory incomplete, so it goes on unless the user says otherwise.
void WidgetSink::cancelClicked()
{
    if (phase_ && cancelAsksFirst(*phase_)) {
        const TransferPhase asked = *phase_;
        // The write goes on while the question waits; a Yes that comes after
        // it has ended, or moved on to the check, stops nothing.
        if (!askYesNo(fixedText(FixedText::CancelWriteQuestion, texts_.language()), QString())
            || phase_ != asked || !progress_->isVisible())
            return;
    }
    cancelRequested_ = true;
}

void WidgetSink::showMessage(const QString& text)
{
    constexpr qsizetype kRecent = 20;
    recent_ << QTime::currentTime().toString(Qt::ISODate) + u' ' + text;
    if (recent_.size() > kRecent)
        recent_.removeFirst();
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, text, QMessageBox::Ok, parent_);
    keepTitleWhole(box);
    box.exec();
}

bool WidgetSink::askYesNo(const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption.isEmpty() ? kApplicationTitle : caption, text,
                    QMessageBox::Yes | QMessageBox::No, parent_);
    // Every question guards something that cannot be undone (erase, overwrite,
    // discard, exit): Enter must not do it.
    box.setDefaultButton(QMessageBox::No);
    keepTitleWhole(box);
    return box.exec() == QMessageBox::Yes;
}

WidgetSink::SaveChoice WidgetSink::askToSave(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kApplicationTitle, text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent_);
    // Enter keeps the work; only a deliberate Discard loses it.
    box.setDefaultButton(QMessageBox::Save);
    keepTitleWhole(box);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

void WidgetSink::showProgress(int maximum)
{
    progress_->setRange(0, maximum);
    progress_->setValue(0);
    timeLeft_.clear();
    showFormat();
    cancelRequested_ = false;
    cancel_->show();
    progress_->show();
    progress_->repaint();
}

void WidgetSink::stepProgress()
{
    progress_->setValue(progress_->value() + 1);
    // Transfers run on this thread: paint now so the bar moves while they do.
    progress_->repaint();
}

void WidgetSink::showTimeLeft(const QString& text)
{
    timeLeft_ = text;
    showFormat();
}

void WidgetSink::showPhase(TransferPhase phase)
{
    phase_ = phase;
    showFormat();
}

// "40%  ·  Checking  ·  about 12 s left": what runs, and how long it still takes.
void WidgetSink::showFormat()
{
    QString format = QStringLiteral("%p%");
    if (phase_)
        format += QStringLiteral("  ·  ") + phaseText(*phase_, texts_.language());
    if (!timeLeft_.isEmpty())
        format += QStringLiteral("  ·  ") + timeLeft_;
    progress_->setFormat(format);
}

void WidgetSink::hideProgress()
{
    progress_->hide();
    cancel_->hide();
}

} // namespace q540
