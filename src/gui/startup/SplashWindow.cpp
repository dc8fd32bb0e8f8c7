#include "gui/startup/SplashWindow.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"

#include "device/Clock.h"
#include "gui/startup/SplashFade.h"

#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include <array>

namespace q540 {

namespace {

constexpr QSize kPictureSize(400, 225);
constexpr int kMargin = 8;
constexpr QColor kAccent(0x1f, 0x4e, 0x8c);

struct Picture {
    const char* objectName;
    QString line; // in the picture's own language
};

const std::array<Picture, 3>& pictures()
{
    static const std::array<Picture, 3> all{{
        {"Image1", fixedText(FixedText::SplashLine, 0)},
        {"Image2", fixedText(FixedText::SplashLine, 1)},
        {"Image3", fixedText(FixedText::SplashLine, 2)},
    }};
    return all;
}

// Pixel sizes throughout, so that the three pictures come out alike on every screen.
QPixmap drawPicture(const QString& line)
{
    QPixmap picture(kPictureSize);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int width = kPictureSize.width();
    const QRect band(0, kPictureSize.height() - 44, width, 44);

    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(96);
    painter.setFont(font);
    painter.setPen(kAccent);
    painter.drawText(QRect(0, 16, width, 110), Qt::AlignCenter, QStringLiteral("Q540"));

    font.setBold(false);
    font.setPixelSize(26);
    painter.setFont(font);
    painter.setPen(Qt::darkGray);
    painter.drawText(QRect(0, 124, width, 40), Qt::AlignCenter, u'v' + kShortVersion);

    painter.fillRect(band, kAccent);
    font.setPixelSize(18);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(band, Qt::AlignCenter, line);
    return picture;
}

} // namespace

SplashWindow::SplashWindow(int language, Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      clock_(clock), Timer_Splash_(new QTimer(this))
{
    setObjectName(QStringLiteral("Form_Splash"));
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* shape = new QFrame(this);
    shape->setObjectName(QStringLiteral("Shape1"));
    shape->setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette framePalette = shape->palette();
    framePalette.setColor(QPalette::WindowText, kAccent);
    shape->setPalette(framePalette);
    shape->setGeometry(kMargin, kMargin, kPictureSize.width() + 2 * kMargin,
                       kPictureSize.height() + 2 * kMargin);

    const int shown = language >= 0 && language < int(pictures().size()) ? language : 1;
    for (int i = 0; i < int(pictures().size()); ++i) {
        auto* image = new QLabel(shape);
        image->setObjectName(QString::fromLatin1(pictures()[i].objectName));
        image->setGeometry(QRect(QPoint(kMargin, kMargin), kPictureSize));
        image->setPixmap(drawPicture(pictures()[i].line));
        image->setVisible(i == shown);
    }

    setFixedSize(shape->width() + 2 * kMargin, shape->height() + 2 * kMargin);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer_Splash_->setObjectName(QStringLiteral("Timer_Splash"));
    Timer_Splash_->setSingleShot(true);
    Timer_Splash_->setInterval(kSplashShownMs);
    connect(Timer_Splash_, &QTimer::timeout, this, &SplashWindow::Timer_SplashTimer);
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!timerStarted_) {
        timerStarted_ = true;
        Timer_Splash_->start();
    }
}

// Holds the user-interface thread for the whole fade, as the main window is not yet in
// use and the steps must show one after the other.
void SplashWindow::Timer_SplashTimer()
{
    Timer_Splash_->stop();
    for (const int opacity : splashFadeOpacities()) {
        setOpacity(opacity);
        clock_.sleep(kSplashFadeStepMs);
    }
    setOpacity(0);
    close();
    deleteLater();
}

void SplashWindow::setOpacity(int opacity)
{
    setWindowOpacity(opacity / 255.0);
    repaint();
    emit opacityChanged(opacity);
}

} // namespace q540
