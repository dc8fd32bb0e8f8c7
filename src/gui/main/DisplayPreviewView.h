#pragma once

#include "directory/DirectoryGrid.h"
#include "protocol/DisplayPreview.h"

#include <QWidget>

class QLabel;

namespace q540 {

// What the panel's display will show of one entry or intro screen, drawn as
// the display looks: two rows of character cells, light on dark. A cell
// whose character will show differently from the one typed has an amber
// frame, one the module cannot show is red; hovering a marked cell says why.
class DisplayPreviewView final : public QWidget {
    Q_OBJECT

public:
    explicit DisplayPreviewView(QWidget* parent = nullptr);

    // An entry's 30 characters (line 1, then line 2) at its place.
    void showEntry(EntryPlace place, QStringView text);
    // An intro screen 1..4 of two lines.
    void showIntroScreen(int screen, QStringView line1, QStringView line2);
    void setLanguage(int language);

    const DisplayPreview& preview() const { return preview_; }
    QString title() const;
    // The tool tip of the cell at a point of the display, empty for none.
    QString toolTipAt(QPoint point) const;
    // The middle of a cell, for the tool tip's tests and the screenshots.
    QPoint cellCentre(int row, int column) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect cellRect(int row, int column) const;
    QRect displayRect() const;
    void showTitle();

    QLabel* title_ = nullptr;
    QLabel* legend_ = nullptr;
    DisplayPreview preview_;
    // What is shown: an entry's place, or an intro screen (zone 0, its number).
    EntryPlace place_{0, 0};
    int language_ = 1;
};

} // namespace q540
