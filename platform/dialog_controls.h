#pragma once

#include <QSize>
#include <QString>

class QDialog;
class QPixmap;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace sordanel {

class DialogUnits;

// Gives `dialog` the program's dialog font, `title` and a fixed client size in dialog units,
// with a close box or without; returns the units to place its controls with.
DialogUnits SetUpFixedDialog(QDialog& dialog, const QString& title, int width, int height,
                             bool closeBox);

// A label whose text wraps inside its rectangle, plain text, left or centred at the top.
QLabel* MakeLabel(const QString& text, QWidget* parent, bool centred = false);
// A push button; multiLine wraps its text inside the button.
QPushButton* MakeButton(const QString& text, QWidget* parent, bool multiLine = false);
// A horizontal slider with a tick at every position.
QSlider* MakeHorizontalSlider(QWidget* parent, bool ticks = false);
// A picture of the program's resources in a sunken frame, drawn to fill `size` pixels.
QLabel* MakeFramedImage(const char* path, QSize size, QWidget* parent);
// An icon of the usual dialog size, from the program's resources or the style's set.
QLabel* MakeIcon(const QPixmap& icon, QWidget* parent);

}  // namespace sordanel
