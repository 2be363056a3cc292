// A thread of its own that runs jobs one after another, in the order they
// are posted, while the poster goes on: for file work that mostly waits for
// the disk (deleting files, making copies durable), so that the wait overlaps
// the poster's own reading and writing.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace velmora {

class SerialWorker {
public:
    SerialWorker() = default;
    ~SerialWorker() { wait(); }
    SerialWorker(const SerialWorker&) = delete;
    SerialWorker& operator=(const SerialWorker&) = delete;

    // Runs `job` after every job posted before it. Where no thread can be
    // started, it runs at once, here. A job must not throw.
    void post(std::function<void()> job);
    // Returns once every job posted has run; what they wrote is then safe
    // to read here.
    void wait();

private:
    void work();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::function<void()>> jobs_;
    bool closing_ = false;
    std::thread thread_;
};

}  // namespace velmora
