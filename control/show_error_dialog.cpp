#include "show_error_dialog.h"

#include <QCoreApplication>
#include <QThread>
#include <future>
#include <memory>

#include "error_dialog.h"

namespace sordanel {

void ShowErrorDialog(std::string_view message) {
    const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return;
    }
    if (QThread::currentThread() == application->thread()) {
        CErrorDialog dialog(text);
        dialog.exec();
        return;
    }
    auto closed = std::make_shared<std::promise<void>>();
    std::future<void> waiting = closed->get_future();
    QMetaObject::invokeMethod(
        application,
        [text, closed] {
            auto* dialog = new CErrorDialog(text);
            dialog->setAttribute(Qt::WA_DeleteOnClose);
            // Above any modal dialog already open, such as the progress of the failed run, so
            // that it can be answered; shown without an event loop of its own.
            dialog->setWindowModality(Qt::ApplicationModal);
            QObject::connect(dialog, &QObject::destroyed, [closed] { closed->set_value(); });
            dialog->show();
        },
        Qt::QueuedConnection);
    // Only the dialog holds the promise now: should the program end before the dialog could
    // be shown, the promise is dropped and the wait ends all the same.
    closed.reset();
    waiting.wait();
}

}  // namespace sordanel
