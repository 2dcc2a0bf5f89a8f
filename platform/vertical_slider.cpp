#include "platform/vertical_slider.h"

namespace sordanel {

VerticalSlider::VerticalSlider(QWidget* parent, bool ticksBothSides)
    : QSlider(Qt::Vertical, parent) {
    if (ticksBothSides) {
        setTickPosition(TicksBothSides);
    } else {
        setTickPosition(TicksRight);
        setTickInterval(1);
    }
}

}  // namespace sordanel
