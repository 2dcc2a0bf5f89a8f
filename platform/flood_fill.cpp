#include "platform/flood_fill.h"

#include <vector>

namespace sordanel {

void FloodFill(QImage& image, QPoint seed, QRgb fill, QRgb border, const QRect& clip) {
    const QRect area = clip & image.rect();
    if (!area.contains(seed) || image.pixel(seed) == border) {
        return;
    }
    // Visited marks keep the fill finite when the fill colour is already present.
    std::vector<bool> visited(static_cast<std::size_t>(area.width()) * area.height(), false);
    const auto index = [&area](QPoint p) {
        return static_cast<std::size_t>(p.y() - area.top()) * area.width() + (p.x() - area.left());
    };
    std::vector<QPoint> pending{seed};
    visited[index(seed)] = true;
    while (!pending.empty()) {
        const QPoint p = pending.back();
        pending.pop_back();
        image.setPixel(p, fill);
        for (const QPoint next :
             {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
            if (area.contains(next) && !visited[index(next)] && image.pixel(next) != border) {
                visited[index(next)] = true;
                pending.push_back(next);
            }
        }
    }
}

}  // namespace sordanel
