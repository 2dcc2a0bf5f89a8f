#include "platform/step_value_box.h"

#include <QKeyEvent>

namespace sordanel {

StepValueBox::StepValueBox(QWidget* parent, bool readOnly) : QLineEdit(parent) {
    setReadOnly(readOnly);
}

void StepValueBox::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
        case Qt::Key_Up:
            step = 1;
            break;
        case Qt::Key_Down:
            step = -1;
            break;
        case Qt::Key_PageUp:
            step = kPageStep;
            break;
        case Qt::Key_PageDown:
            step = -kPageStep;
            break;
        default:
            QLineEdit::keyPressEvent(event);
            return;
    }
    emit stepped(step);
}

}  // namespace sordanel
