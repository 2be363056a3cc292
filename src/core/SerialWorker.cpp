#include "core/SerialWorker.h"

#include <system_error>
#include <utility>

namespace velmora {

void SerialWorker::post(std::function<void()> job) {
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread(&SerialWorker::work, this);
        } catch (const std::system_error&) {
            job();
            return;
        }
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    changed_.notify_one();
}

void SerialWorker::wait() {
    if (!thread_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
    }
    changed_.notify_one();
    thread_.join();
    closing_ = false;
}

void SerialWorker::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !jobs_.empty(); });
        if (jobs_.empty()) return;  // closing, and nothing left to run
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

}  // namespace velmora
