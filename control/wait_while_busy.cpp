#include "wait_while_busy.h"

#include <QEventLoop>
#include <QTimer>

namespace sordanel {

namespace {

constexpr int kPollMs = 20;

}  // namespace

void WaitWhileBusy(const GenerationSettings& settings) {
    if (!settings.busy) {
        return;
    }
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!settings.busy) {
            loop.quit();
        }
    });
    poll.start(kPollMs);
    loop.exec();
}

}  // namespace sordanel
