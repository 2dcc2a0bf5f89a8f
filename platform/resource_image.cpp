#include "resource_image.h"

#include <QPainter>
#include <QSvgRenderer>

namespace sordanel {

QPixmap ResourceImage(const QString& path) {
    return ResourceImage(path, QSvgRenderer(path).defaultSize());
}

QPixmap ResourceImage(const QString& path, QSize size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    QPixmap image(size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

QIcon ResourceIcon(const QString& path) {
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        icon.addPixmap(ResourceImage(path, {side, side}));
    }
    return icon;
}

}  // namespace sordanel
