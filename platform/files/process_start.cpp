#include "platform/files/process_start.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace sordanel {

void PrepareProcessForFiles() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0) {
            // open() takes the lowest free descriptor, which is this one; should it fail,
            // there is nothing better to do than to go on.
            ::open("/dev/null", O_RDWR);
        }
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
    sigaction(SIGXFSZ, &ignore, nullptr);
}

}  // namespace sordanel
