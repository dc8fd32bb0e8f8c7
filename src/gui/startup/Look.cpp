#include "gui/startup/Look.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace q540 {

QFont entryFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setPixelSize(13);
    return font;
}

QIcon lampIcon(bool lit)
{
    QImage image(5, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (lit) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 170, 0));
        painter.drawEllipse(QRectF(0, 3.5, 5, 5));
    }
    return QIcon(QPixmap::fromImage(image));
}

QIcon stateIcon(const QColor& colour)
{
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(140), 1.5));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(3, 3, 14, 14));
    return QIcon(QPixmap::fromImage(image));
}

void showCentred(QWidget& window)
{
    if (const QScreen* where = window.screen()) {
        // As large as it would like, within the screen's free area and room
        // for the window manager's frame (not known before it is shown).
        const QRect area = where->availableGeometry();
        const QSize frame(16, 40);
        const QSize wanted = window.sizeHint().expandedTo(window.minimumSizeHint());
        window.resize(wanted.boundedTo(area.size() - frame));
        window.move(area.center() - window.rect().center());
    }
    window.show();
}

void keepTitleWhole(QMessageBox& box)
{
    // The title bar's font is the window manager's, often larger and bold;
    // its buttons take about 120 pixels more.
    QFont title = box.font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    const int width = QFontMetrics(title).horizontalAdvance(box.windowTitle()) + 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace q540
