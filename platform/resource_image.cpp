#include "platform/resource_image.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace sordanel {

QPixmap ResourceImage(const QString& path, QSize size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || size.isEmpty()) {
        return {};
    }
    // In the screen's own pixels, so that a scaled screen shows it sharp.
    const qreal ratio = qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
    QPixmap image(size * ratio);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
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
