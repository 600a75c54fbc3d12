#pragma once
// A long job (a design, a simulation) as a window hands it to the platform: `work` runs it,
// reporting the fraction done through the function it is given; `cancel` stops it.
#include <atomic>
#include <functional>
#include <memory>
#include <utility>

namespace gc::app {

template <class Result>
struct BackgroundJob {
    std::function<Result(const std::function<void(double)>& progress)> work;
    std::shared_ptr<std::atomic<bool>> cancel;
};

// Hands `job` to `port`, which runs it on a thread of its own and calls `progress` and
// `finished` back on the window's thread; without a port (tests, no window) it runs on the spot.
template <class Result, class Port>
void runOnPort(Port* port, BackgroundJob<Result> job, std::function<void(double)> progress,
               std::function<void(Result)> finished) {
    if (port == nullptr) {
        finished(job.work(progress));
        return;
    }
    port->run(std::move(job), std::move(progress), std::move(finished));
}

}  // namespace gc::app
