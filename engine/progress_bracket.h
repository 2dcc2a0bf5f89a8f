#pragma once

#include "generation_settings.h"
#include "progress_receiver.h"

namespace sordanel {

// Calls into the progress dialog only while it is open. Marking the call first and testing
// progressOpen second pairs with the window clearing progressOpen and then waiting for
// progressInUse to drop before it destroys the dialog.
template <class Call>
void CallProgressDialog(GenerationSettings& settings, Call call) {
    settings.progressInUse = true;
    if (settings.progressOpen) {
        call(*settings.progressDialog);
    }
    settings.progressInUse = false;
}

}  // namespace sordanel
