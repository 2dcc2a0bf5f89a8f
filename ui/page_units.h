#pragma once

#include "platform/dialog_units.h"

namespace sordanel {

// Places a page's controls at their positions in the main window, given in the window's dialog
// units; the page itself starts inside the tab control's pane, below its tabs.
class PageUnits {
public:
    // Left and top edge of a page in the window, dialog units.
    static constexpr int kPageLeft = 117;
    static constexpr int kPageTop = 77;

    explicit PageUnits(const QFont& font) : units_(font) {}
    void Place(QWidget* widget, int x, int y, int width, int height) const {
        units_.Place(widget, x - kPageLeft, y - kPageTop, width, height);
    }
    QRect ToPixels(int x, int y, int width, int height) const {
        return units_.ToPixels(x - kPageLeft, y - kPageTop, width, height);
    }

private:
    DialogUnits units_;
};

}  // namespace sordanel
