#pragma once

#include <QWidget>
#include <map>

namespace sordanel {

// The controls of one dialog by id.
class ControlMap {
public:
    void Add(int id, QWidget* widget) { widgets_[id] = widget; }
    // The control with `id`, or nullptr when the dialog has none.
    QWidget* Find(int id) const;
    // The control with `id` as the kind the caller knows it to be; nullptr when it is not.
    template <class Widget>
    Widget* Get(int id) const {
        return qobject_cast<Widget*>(Find(id));
    }

private:
    std::map<int, QWidget*> widgets_;
};

}  // namespace sordanel
