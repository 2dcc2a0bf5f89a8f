#pragma once

#include <functional>
#include <span>

#include "control_map.h"

namespace sordanel {

// What a control reports to its dialog.
enum class ControlEvent {
    Click,            // a button, check box or radio button was clicked
    Step,             // an up/down control stepped; the handler gets the step
    Draw,             // a slider moved
    SelectionChange,  // a list or the tab control chose another entry
    FocusLost,
    FocusGained,
};

// Connects one control's event to `handler`, which lives as long as `receiver`. False when
// the control cannot report that event.
bool BindControlEvent(QWidget* control, ControlEvent event, QObject* receiver,
                      std::function<void(int step)> handler);

// One row of a dialog's event table: which member runs when a control reports an event.
template <class Dialog>
struct EventEntry {
    int id;
    ControlEvent event;
    void (Dialog::*handler)() = nullptr;
    void (Dialog::*stepHandler)(int step) = nullptr;
};

template <class Dialog>
constexpr EventEntry<Dialog> On(int id, ControlEvent event, void (Dialog::*handler)()) {
    return {id, event, handler, nullptr};
}

template <class Dialog>
constexpr EventEntry<Dialog> OnStep(int id, void (Dialog::*handler)(int step)) {
    return {id, ControlEvent::Step, nullptr, handler};
}

// Connects every row of `table` to the controls of `dialog`. A row whose control is missing or
// of the wrong kind is a fault of the table and stops a debug build.
template <class Dialog>
void Bind(Dialog& dialog, const ControlMap& controls, std::span<const EventEntry<Dialog>> table) {
    for (const EventEntry<Dialog>& entry : table) {
        std::function<void(int)> call;
        if (entry.stepHandler != nullptr) {
            call = [&dialog, member = entry.stepHandler](int step) { (dialog.*member)(step); };
        } else {
            call = [&dialog, member = entry.handler](int) { (dialog.*member)(); };
        }
        const bool bound = BindControlEvent(controls.Find(entry.id), entry.event, &dialog, call);
        Q_ASSERT_X(bound, "Bind", "event table row without a matching control");
    }
}

}  // namespace sordanel
