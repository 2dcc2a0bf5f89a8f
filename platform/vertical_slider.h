#pragma once

#include <QSlider>

namespace sordanel {

// A vertical slider whose positions count from the top, as the settings read them (position 0
// is the strongest or loudest end), while its filled part grows from the bottom with the value
// it stands for. Up moves the thumb up, as the arrow key points.
class VerticalSlider : public QSlider {
    Q_OBJECT
public:
    explicit VerticalSlider(QWidget* parent = nullptr, bool ticksBothSides = false);

    // Position counted from the top: 0 .. maximum().
    int position() const { return maximum() - value(); }
    void setPosition(int position) { setValue(maximum() - position); }
};

}  // namespace sordanel
