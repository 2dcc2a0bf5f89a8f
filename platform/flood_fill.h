#pragma once

#include <QImage>
#include <QRect>

namespace sordanel {

// Paints `fill` over every pixel of `image` that is reachable from `seed` through left, right,
// up and down neighbours without crossing a pixel of colour `border` or leaving `clip`.
// Nothing is painted when the seed itself is of the border colour or outside the clip.
void FloodFill(QImage& image, QPoint seed, QRgb fill, QRgb border, const QRect& clip);

}  // namespace sordanel
