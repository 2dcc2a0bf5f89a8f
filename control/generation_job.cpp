#include "control/generation_job.h"

#include <QCoreApplication>
#include <QThread>
#include <system_error>
#include <utility>

#include "control/error_dialog.h"

namespace sordanel {

GenerationJob::GenerationJob(SoundPlayer& player, QObject* parent)
    : QObject(parent), player_(player), engine_(runSettings_, state_, *this, files_, player) {
    state_.progressDialog = this;
}

GenerationJob::~GenerationJob() {
    if (!worker_.joinable()) {
        return;
    }
    state_.abortRequested = true;
    state_.progressOpen = false;
    {
        const std::lock_guard lock(errorMutex_);
        givingUp_ = true;
    }
    errorAnswered_.notify_all();
    worker_.join();
}

bool GenerationJob::Start(const GenerationSettings& settings) {
    runSettings_ = settings;
    state_.outputValid = false;
    state_.abortRequested = false;
    progress_ = 0.0f;
    state_.progressOpen = true;
    state_.progressInUse = false;
    try {
        worker_ = std::thread([this] {
            engine_.GenerateSound(false);
            // Queued to the job's own thread, which joins this one: it has nothing left but to
            // return.
            QMetaObject::invokeMethod(this, &GenerationJob::CollectWorker, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        state_.progressOpen = false;
        return false;
    }
    return true;
}

void GenerationJob::ProgressClosed(bool completed) {
    if (!completed) {
        state_.abortRequested = true;
    }
    // The job itself receives the engine's reports and outlives the run, so the worker may
    // still be inside a report: it finds the dialog closed the next time.
    state_.progressOpen = false;
}

void GenerationJob::CollectWorker() {
    worker_.join();
    emit returned();
    if (auto next = std::exchange(afterReturn_, nullptr)) {
        next();
    }
}

void GenerationJob::WhenReturned(std::function<void()> next) {
    // Until it is collected, the worker may still be returning from a run the engine has
    // already ended: a new run waits, so that two workers never share the engine and its state.
    if (!busy()) {
        next();
        return;
    }
    afterReturn_ = std::move(next);
}

void GenerationJob::RunPreview(const GenerationSettings& settings) {
    runSettings_ = settings;
    state_.abortRequested = false;
    engine_.GenerateSound(true);
}

void GenerationJob::DiscardPreview() {
    state_.previewValid = false;
    if (!state_.previewSound.empty()) {
        player_.Stop();
        state_.previewSound = {};
    }
}

void GenerationJob::ShowError(std::string_view message) {
    const QString text = QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
    if (QThread::currentThread() == thread()) {
        CErrorDialog dialog(text);
        dialog.exec();
        return;
    }
    std::unique_lock lock(errorMutex_);
    pendingError_ = message;
    errorOpen_ = true;
    QMetaObject::invokeMethod(this, &GenerationJob::ShowPendingError, Qt::QueuedConnection);
    errorAnswered_.wait(lock, [this] { return !errorOpen_ || givingUp_; });
}

void GenerationJob::ShowPendingError() {
    QString text;
    {
        const std::lock_guard lock(errorMutex_);
        text = QString::fromStdString(pendingError_);
    }
    auto* dialog = new CErrorDialog(text);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Above the progress dialog of the failed run, which goes on running meanwhile.
    dialog->setWindowModality(Qt::ApplicationModal);
    connect(dialog, &QDialog::finished, this, [this] {
        {
            const std::lock_guard lock(errorMutex_);
            errorOpen_ = false;
        }
        errorAnswered_.notify_all();
    });
    dialog->show();
}

void GenerationJob::ShowPreviewStatus(std::string_view text) {
    emit previewStatus(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void GenerationJob::SetProgress(float fraction) {
    progress_ = fraction;
    emit progressed();
}

void GenerationJob::GenerationFinished() {
    emit finished();
}

}  // namespace sordanel
