#include "event_wait.h"

#include <QEventLoop>
#include <QTimer>

namespace sordanel {

namespace {

constexpr int kPollMs = 5;

}  // namespace

void WaitServicingEvents(const std::function<bool()>& done) {
    if (done()) {
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(kPollMs);
    loop.exec();
}

}  // namespace sordanel
