#include "dialog_builder.h"

#include <QButtonGroup>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSlider>

#include "dialog_units.h"
#include "multi_line_button.h"
#include "resource_image.h"
#include "tab_control.h"
#include "up_down_control.h"

namespace sordanel {

namespace {

constexpr int kIconSide = 32;

template <class Button>
QAbstractButton* MakeButton(const ControlRow& row, QWidget* parent) {
    if (row.flags & kMultiLine) {
        return new MultiLineButton<Button>(QString::fromUtf8(row.text), parent);
    }
    return new Button(QString::fromUtf8(row.text), parent);
}

QWidget* MakeLabel(const ControlRow& row, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(row.text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment((row.flags & kCentred) ? Qt::AlignHCenter | Qt::AlignTop
                                               : Qt::AlignLeft | Qt::AlignTop);
    if (row.flags & kBorder) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    return label;
}

QWidget* MakeTextBox(const ControlRow& row, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(row.flags & kReadOnly);
    if (row.flags & kDigitsOnly) {
        box->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    }
    return box;
}

QWidget* MakeSlider(const ControlRow& row, QWidget* parent) {
    const bool vertical = row.kind == ControlKind::VerticalSlider;
    auto* slider = new QSlider(vertical ? Qt::Vertical : Qt::Horizontal, parent);
    if (vertical) {
        // Position 0 stands at the top, and the arrow keys move the thumb the way they point.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
    }
    if (row.flags & kTicksBoth) {
        slider->setTickPosition(QSlider::TicksBothSides);
    } else if (row.flags & kTicks) {
        slider->setTickPosition(vertical ? QSlider::TicksRight : QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    return slider;
}

QLabel* MakeImage(const ControlRow& row, QWidget* parent, const QRect& place) {
    auto* image = new QLabel(parent);
    const bool isIcon = row.kind == ControlKind::Icon;
    const QString path = QString::fromUtf8(row.text);
    if (!path.isEmpty()) {
        image->setPixmap(isIcon ? ResourceImage(path, {kIconSide, kIconSide})
                                : ResourceImage(path));
    }
    int frame = 0;
    if (row.flags & kBorder) {
        image->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        frame = 2 * image->frameWidth();
    }
    // Like a picture static, the control takes the size of what it shows.
    const QSize shown = isIcon ? QSize(kIconSide, kIconSide) : image->pixmap().size();
    image->setGeometry(
        QRect(place.topLeft(), shown.isEmpty() ? place.size() : shown + QSize(frame, frame)));
    return image;
}

QWidget* MakeControl(const ControlRow& row, QDialog& dialog, const QRect& place,
                     QButtonGroup*& radioGroup, const CustomControlMaker& makeCustom) {
    switch (row.kind) {
        case ControlKind::PushButton: {
            auto* button = static_cast<QPushButton*>(MakeButton<QPushButton>(row, &dialog));
            button->setDefault(row.flags & kDefault);
            return button;
        }
        case ControlKind::CheckBox:
            return MakeButton<QCheckBox>(row, &dialog);
        case ControlKind::RadioButton: {
            QAbstractButton* radio = MakeButton<QRadioButton>(row, &dialog);
            if ((row.flags & kGroup) || radioGroup == nullptr) {
                radioGroup = new QButtonGroup(&dialog);
            }
            radioGroup->addButton(radio);
            return radio;
        }
        case ControlKind::Label:
            return MakeLabel(row, &dialog);
        case ControlKind::TextBox:
            return MakeTextBox(row, &dialog);
        case ControlKind::UpDown:
            return new UpDownControl(&dialog);
        case ControlKind::VerticalSlider:
        case ControlKind::HorizontalSlider:
            return MakeSlider(row, &dialog);
        case ControlKind::TabControl:
            return new TabControl(&dialog);
        case ControlKind::Bitmap:
        case ControlKind::Icon:
            return MakeImage(row, &dialog, place);
        case ControlKind::Custom:
            return makeCustom ? makeCustom(row, &dialog) : new QWidget(&dialog);
    }
    return new QWidget(&dialog);
}

}  // namespace

ControlMap BuildDialog(QDialog& dialog, const DialogTemplate& layout,
                       const CustomControlMaker& makeCustom) {
    const QFont font = DialogFont();
    const DialogUnits units(font);
    dialog.setFont(font);
    dialog.setWindowTitle(QString::fromUtf8(layout.title));
    Qt::WindowFlags frame = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (layout.closeBox) {
        frame |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    dialog.setWindowFlags(frame);
    dialog.setFixedSize(units.ToPixels(layout.width, layout.height));

    ControlMap controls;
    QButtonGroup* radioGroup = nullptr;
    for (const ControlRow& row : layout.controls) {
        const QRect place = units.ToPixels(row.x, row.y, row.width, row.height);
        QWidget* control = MakeControl(row, dialog, place, radioGroup, makeCustom);
        if (row.kind != ControlKind::Bitmap && row.kind != ControlKind::Icon) {
            control->setGeometry(place);
        }
        if (row.kind == ControlKind::TabControl) {
            control->lower();  // the pane lies under the controls of its pages
        }
        control->setHidden(row.flags & kHidden);
        control->setEnabled(!(row.flags & kDisabled));
        if (row.flags & kNoTabStop) {
            control->setFocusPolicy(Qt::ClickFocus);
        }
        if (row.id != kNoId) {
            controls.Add(row.id, control);
        }
    }
    return controls;
}

}  // namespace sordanel
