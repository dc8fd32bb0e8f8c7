#include "gui/main/DisplayPreviewView.h"

#include "base/FixedTexts.h"
#include "base/TrailingSpaces.h"
#include "directory/EditStep.h"
#include "gui/startup/Look.h"

#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QToolTip>
#include <QVBoxLayout>

namespace q540 {

namespace {

constexpr int kCellWidth = 15;
constexpr int kCellHeight = 22;
constexpr int kCellGap = 2;
constexpr int kBezel = 8;

const QColor kGlass{0x10, 0x24, 0x38};
const QColor kCellBack{0x17, 0x33, 0x4d};
const QColor kGlyph{0xdc, 0xf2, 0xff};
const QColor kLookAlike{0xff, 0xb0, 0x20};
const QColor kUnsupported{0xc8, 0x20, 0x20};

// What cannot be shown is drawn as typed, so the user sees which one it is;
// a control character as a middle dot.
QString glyphOf(const DisplayCell& cell)
{
    if (cell.mark != CellMark::Unsupported)
        return QString(cell.shown);
    const QList<uint> code = QStringView(cell.typed).toUcs4();
    return !code.isEmpty() && QChar::isPrint(char32_t(code.front())) ? cell.typed
                                                                     : QStringLiteral("\u00B7");
}

} // namespace

DisplayPreviewView::DisplayPreviewView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Podglad_wyswietlacza"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    title_ = new QLabel;
    layout->addWidget(title_);
    layout->addSpacing(2 * kBezel + 2 * kCellHeight + kCellGap);
    legend_ = new QLabel;
    legend_->setWordWrap(true);
    QFont small = legend_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    legend_->setFont(small);
    layout->addWidget(legend_);
    setMinimumWidth(2 * kBezel + kDisplayRowLength * (kCellWidth + kCellGap));
    preview_ = displayPreview({}, {}, kDisplayEntryRow2Length);
    showTitle();
}

void DisplayPreviewView::showEntry(EntryPlace place, QStringView text)
{
    place_ = place;
    preview_ = displayPreview(text.left(kLine1Length), text.mid(kLine1Length).left(kLine2Length),
                              kDisplayEntryRow2Length);
    showTitle();
    update();
}

void DisplayPreviewView::showIntroScreen(int screen, QStringView line1, QStringView line2)
{
    place_ = {0, screen};
    preview_ = displayPreview(line1, line2, kDisplayRowLength);
    showTitle();
    update();
}

void DisplayPreviewView::setLanguage(int language)
{
    language_ = language;
    legend_->setText(fixedText(FixedText::PanelLegend, language));
    showTitle();
}

QString DisplayPreviewView::title() const
{
    return title_->text();
}

void DisplayPreviewView::showTitle()
{
    if (place_.number == 0)
        title_->setText(fixedText(FixedText::PanelDisplay, language_));
    else
        title_->setText(fixedText(FixedText::PanelDisplayOf, language_)
                            .arg(place_.zone == 0 ? introScreenText(place_.number, language_)
                                                  : entryPlaceText(place_, language_)));
    // A screen reader reads the two rows as the display will show them.
    setAccessibleName(title_->text());
    QStringList rows;
    for (const DisplayRow& row : preview_) {
        QString shown;
        for (const DisplayCell& cell : row)
            shown += cell.shown;
        rows << withoutTrailingSpaces(shown);
    }
    setAccessibleDescription(rows.join(u'\n'));
}

QRect DisplayPreviewView::displayRect() const
{
    const int top = title_->geometry().bottom() + 4;
    return {0, top, 2 * kBezel + kDisplayRowLength * (kCellWidth + kCellGap) - kCellGap,
            2 * kBezel + 2 * kCellHeight + kCellGap};
}

QRect DisplayPreviewView::cellRect(int row, int column) const
{
    const QRect glass = displayRect();
    return {glass.left() + kBezel + column * (kCellWidth + kCellGap),
            glass.top() + kBezel + row * (kCellHeight + kCellGap), kCellWidth, kCellHeight};
}

QPoint DisplayPreviewView::cellCentre(int row, int column) const
{
    return cellRect(row, column).center();
}

void DisplayPreviewView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGlass);
    painter.drawRoundedRect(displayRect(), 6, 6);
    QFont font = entryFont();
    font.setPixelSize(kCellHeight - 6);
    font.setBold(true);
    painter.setFont(font);
    for (int r = 0; r < 2; ++r) {
        const DisplayRow& row = preview_[std::size_t(r)];
        for (int c = 0; c < int(row.size()); ++c) {
            const DisplayCell& cell = row[std::size_t(c)];
            const QRect rect = cellRect(r, c);
            painter.setPen(Qt::NoPen);
            painter.setBrush(cell.mark == CellMark::Unsupported ? kUnsupported : kCellBack);
            painter.drawRect(rect);
            if (cell.mark == CellMark::LookAlike) {
                painter.setPen(QPen(kLookAlike, 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect.adjusted(1, 1, -1, -1));
            }
            painter.setPen(cell.mark == CellMark::LookAlike ? kLookAlike : kGlyph);
            painter.drawText(rect, Qt::AlignCenter, glyphOf(cell));
        }
    }
}

QString DisplayPreviewView::toolTipAt(QPoint point) const
{
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < int(preview_[std::size_t(r)].size()); ++c)
            if (cellRect(r, c).contains(point))
                return cellNote(preview_[std::size_t(r)][std::size_t(c)], language_);
    return {};
}

bool DisplayPreviewView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipAt(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace q540
