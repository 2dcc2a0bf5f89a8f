#include "event_table.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QSlider>

#include "tab_control.h"
#include "up_down_control.h"

namespace sordanel {

namespace {

// Calls a handler when its control gains or loses the keyboard focus.
class FocusWatcher : public QObject {
public:
    FocusWatcher(QWidget* control, QEvent::Type type, std::function<void(int)> handler)
        : QObject(control), type_(type), handler_(std::move(handler)) {
        control->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) {
            handler_(0);
        }
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void(int)> handler_;
};

bool BindSelectionChange(QWidget* control, QObject* receiver, std::function<void(int)> handler) {
    auto call = [handler](int) { handler(0); };
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        QObject::connect(list, &QComboBox::currentIndexChanged, receiver, call);
        return true;
    }
    if (auto* tabs = qobject_cast<TabControl*>(control)) {
        QObject::connect(tabs, &TabControl::currentChanged, receiver, call);
        return true;
    }
    return false;
}

}  // namespace

bool BindControlEvent(QWidget* control, ControlEvent event, QObject* receiver,
                      std::function<void(int step)> handler) {
    if (control == nullptr) {
        return false;
    }
    switch (event) {
        case ControlEvent::Click:
            if (auto* button = qobject_cast<QAbstractButton*>(control)) {
                QObject::connect(button, &QAbstractButton::clicked, receiver,
                                 [handler] { handler(0); });
                return true;
            }
            return false;
        case ControlEvent::Step:
            if (auto* upDown = qobject_cast<UpDownControl*>(control)) {
                QObject::connect(upDown, &UpDownControl::stepped, receiver, handler);
                return true;
            }
            return false;
        case ControlEvent::Draw:
            if (auto* slider = qobject_cast<QSlider*>(control)) {
                QObject::connect(slider, &QSlider::valueChanged, receiver,
                                 [handler](int) { handler(0); });
                return true;
            }
            return false;
        case ControlEvent::SelectionChange:
            return BindSelectionChange(control, receiver, std::move(handler));
        case ControlEvent::FocusLost:
            new FocusWatcher(control, QEvent::FocusOut, std::move(handler));
            return true;
        case ControlEvent::FocusGained:
            new FocusWatcher(control, QEvent::FocusIn, std::move(handler));
            return true;
    }
    return false;
}

}  // namespace sordanel
