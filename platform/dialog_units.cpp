#include "platform/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>
#include <QWidget>

namespace sordanel {

namespace {

// Rounded a * b / c, as the dialog-unit conversion needs.
int ScaleRounded(int a, int b, int c) {
    return static_cast<int>((static_cast<long long>(a) * b * 2 + c) / (2 * c));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseWidth_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseHeight_ = metrics.height();
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const {
    return {ScaleRounded(x, baseWidth_, 4), ScaleRounded(y, baseHeight_, 8),
            ScaleRounded(width, baseWidth_, 4), ScaleRounded(height, baseHeight_, 8)};
}

QSize DialogUnits::ToPixels(int width, int height) const {
    return ToPixels(0, 0, width, height).size();
}

void DialogUnits::Place(QWidget* widget, int x, int y, int width, int height) const {
    widget->setGeometry(ToPixels(x, y, width, height));
}

QFont DialogFont() {
    // The desktop's own sans-serif face at the small size the layout was drawn for.
    QFont font = QApplication::font();
    font.setPointSize(8);
    return font;
}

}  // namespace sordanel
