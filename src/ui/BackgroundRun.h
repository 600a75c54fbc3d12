#pragma once
// The thread a window runs its long job on (a design, a simulation). Progress and the result
// travel back through the window's event queue and are handed to `deliver`, which runs them on
// the window's thread (and shows the window's state after them). Starting a new job, stop() and
// the destructor tell the running job to stop and wait for it.
#include <QMetaObject>
#include <QObject>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

#include "app/BackgroundJob.h"

namespace gc::ui {

class BackgroundRun {
  public:
    // Runs a call on the window's thread.
    using Deliver = std::function<void(const std::function<void()>&)>;

    BackgroundRun() = default;
    ~BackgroundRun() { stop(); }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    template <class Result>
    void start(QObject* window, gc::app::BackgroundJob<Result> job, Deliver deliver,
               std::function<void(double)> progress, std::function<void(Result)> finished) {
        // A previous job was cancelled or has finished: it ends at its next check.
        stop();
        cancel_ = job.cancel;
        worker_ = std::thread([window, job = std::move(job), deliver = std::move(deliver),
                               progress = std::move(progress), finished = std::move(finished)] {
            // Only whole percents travel to the window, so the queue is never flooded.
            int lastPercent = -1;
            Result result = job.work([&](double fraction) {
                const int percent = static_cast<int>(std::lround(fraction * 100.0));
                if (percent == lastPercent) return;
                lastPercent = percent;
                QMetaObject::invokeMethod(
                    window, [deliver, progress, fraction] { deliver([&] { progress(fraction); }); },
                    Qt::QueuedConnection);
            });
            QMetaObject::invokeMethod(
                window,
                [deliver, finished, result = std::move(result)]() mutable {
                    deliver([&] { finished(std::move(result)); });
                },
                Qt::QueuedConnection);
        });
    }

    void stop() {
        if (cancel_) cancel_->store(true);
        if (worker_.joinable()) worker_.join();
    }

  private:
    std::thread worker_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

}  // namespace gc::ui
