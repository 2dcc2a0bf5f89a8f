#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class QWidget;

namespace sordanel {

// Converts dialog units to pixels with a font's base units: a horizontal unit is a quarter of
// the font's average character width, a vertical unit an eighth of its height, so a layout
// scales with the font it is shown in.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    QRect ToPixels(int x, int y, int width, int height) const;
    QSize ToPixels(int width, int height) const;
    // Puts `widget` at the rectangle given in dialog units.
    void Place(QWidget* widget, int x, int y, int width, int height) const;

private:
    int baseWidth_;
    int baseHeight_;
};

// The font every dialog of the program is laid out in.
QFont DialogFont();

}  // namespace sordanel
