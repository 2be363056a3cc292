#include "swap/SiblingRemoval.h"

#include <system_error>
#include <utility>

namespace velmora {

void SiblingRemoval::remove(std::string path) {
    if (!worker_.joinable()) {
        try {
            worker_ = std::thread(&SiblingRemoval::work, this);
        } catch (const std::system_error&) {
            if (!removeNow(path)) failed_.push_back(std::move(path));
            return;
        }
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(path));
    }
    changed_.notify_one();
}

std::vector<std::string> SiblingRemoval::finish() {
    if (worker_.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            closing_ = true;
        }
        changed_.notify_one();
        worker_.join();
        closing_ = false;
    }
    return std::exchange(failed_, {});
}

bool SiblingRemoval::removeNow(const std::string& path) {
    if (files_.removeFile(path) || !files_.exists(path)) return true;
    return files_.isReadOnly(path) && files_.makeWritable(path) && files_.removeFile(path);
}

void SiblingRemoval::work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !queue_.empty(); });
        if (queue_.empty()) return;  // closing, and nothing left
        std::string path = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        const bool removed = removeNow(path);
        lock.lock();
        if (!removed) failed_.push_back(std::move(path));
    }
}

}  // namespace velmora
