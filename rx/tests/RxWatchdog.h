// The stress tests' guard against hangs.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

// Ends the test run with a message when its scope is not left within Limit.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds Limit)
        : thread_([this, Limit] {
              std::unique_lock lock(mutex_);
              if (!done_.wait_for(lock, Limit, [this] { return finished_; })) {
                  std::fprintf(stderr, "watchdog: the test hung\n");
                  std::abort();
              }
          }) {}
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};
