#pragma once

#include "engine/job_state.h"
#include "engine/progress_receiver.h"

namespace sordanel {

// Calls into the progress dialog only while it is open. Marking the call first and testing
// progressOpen second pairs with the window clearing progressOpen and then waiting for
// progressInUse to drop before it destroys the dialog.
template <class Call>
void CallProgressDialog(JobState& job, Call call) {
    job.progressInUse = true;
    if (job.progressOpen) {
        call(*job.progressDialog);
    }
    job.progressInUse = false;
}

}  // namespace sordanel
