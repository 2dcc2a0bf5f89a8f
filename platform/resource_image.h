#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace sordanel {

// A vector image of the program's resources drawn to fill `size` pixels, in the screen's
// device pixels.
QPixmap ResourceImage(const QString& path, QSize size);
// A window or dialog icon drawn at the usual icon sizes.
QIcon ResourceIcon(const QString& path);

}  // namespace sordanel
