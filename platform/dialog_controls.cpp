#include "platform/dialog_controls.h"

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "platform/dialog_units.h"
#include "platform/multi_line_button.h"
#include "platform/resource_image.h"

namespace sordanel {

namespace {

constexpr int kIconSide = 32;

}  // namespace

DialogUnits SetUpFixedDialog(QDialog& dialog, const QString& title, int width, int height,
                             bool closeBox) {
    const QFont font = DialogFont();
    const DialogUnits units(font);
    dialog.setFont(font);
    dialog.setWindowTitle(title);
    Qt::WindowFlags frame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (closeBox) {
        frame |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    dialog.setWindowFlags(frame);
    dialog.setFixedSize(units.ToPixels(width, height));
    return units;
}

QLabel* MakeLabel(const QString& text, QWidget* parent, bool centred) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(centred ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* MakeButton(const QString& text, QWidget* parent, bool multiLine) {
    if (multiLine) {
        return new MultiLineButton<QPushButton>(text, parent);
    }
    return new QPushButton(text, parent);
}

QSlider* MakeHorizontalSlider(QWidget* parent, bool ticks) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    if (ticks) {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    return slider;
}

QLabel* MakeFramedImage(const char* path, QSize size, QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const QSize frame = QSize(2, 2) * image->frameWidth();
    image->setPixmap(ResourceImage(QString::fromUtf8(path), size - frame));
    image->resize(size);
    return image;
}

QLabel* MakeIcon(const QPixmap& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(
        icon.scaled(kIconSide, kIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    label->resize(kIconSide, kIconSide);
    return label;
}

}  // namespace sordanel
