#include "control_map.h"

namespace sordanel {

QWidget* ControlMap::Find(int id) const {
    const auto found = widgets_.find(id);
    return found == widgets_.end() ? nullptr : found->second;
}

}  // namespace sordanel
