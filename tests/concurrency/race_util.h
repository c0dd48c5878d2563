// Helpers of the concurrency tests: a run of writer and reader threads on one
// object that start together, and a record of what the readers found wrong.
//
// Writers put whole states, each derived from one seed; readers check that
// every value they read is one of those whole states (never part of one and
// part of another). Under ThreadSanitizer the same runs also show any access
// to shared data that no lock orders.
#pragma once

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/strings.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace racetest {

using orv::Bstr;
using orv::ComPtr;

inline CY Cy(LONGLONG raw) {
    CY c;
    c.int64 = raw;
    return c;
}

inline std::u16string Text(BSTR s) { return s ? std::u16string(s, SysStringLen(s)) : std::u16string(); }
inline std::string Bytes(BSTR s) {
    return s ? std::string(reinterpret_cast<const char*>(s), SysStringByteLen(s)) : std::string();
}

// What the threads of one run found: failures (kept to the first few) and
// how many reads were checked.
class Findings {
public:
    void Fail(const std::string& what) {
        std::lock_guard<std::mutex> guard(lock_);
        ++failures_;
        if (kept_.size() < 10) kept_.push_back(what);
    }
    // Checks a condition; records what when it does not hold.
    bool Expect(bool ok, const std::string& what) {
        if (!ok) Fail(what);
        return ok;
    }
    void Checked() { checked_.fetch_add(1, std::memory_order_relaxed); }
    long CheckedCount() const { return checked_.load(); }
    long FailureCount() const {
        std::lock_guard<std::mutex> guard(lock_);
        return failures_;
    }
    std::string Report() const {
        std::lock_guard<std::mutex> guard(lock_);
        std::string out = std::to_string(failures_) + " failure(s)";
        for (const std::string& s : kept_) out += "\n  " + s;
        return out;
    }

private:
    mutable std::mutex lock_;
    long failures_ = 0;
    std::vector<std::string> kept_;
    std::atomic<long> checked_{0};
};

// Starts the writers (each called with its index and an iteration number for
// `rounds` iterations) and the readers (called with their index until every
// writer is done, and at least `minReads` times each), all released at once;
// joins them. Each thread enters the component runtime for its own life.
inline void RunTogether(int writers, int rounds, const std::function<void(int, int)>& write, int readers,
                        const std::function<void(int)>& read, int minReads = 20) {
    std::mutex m;
    std::condition_variable cv;
    bool go = false;
    std::atomic<int> writing{writers};
    auto wait = [&] {
        std::unique_lock<std::mutex> lk(m);
        cv.wait(lk, [&] { return go; });
    };
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w)
        threads.emplace_back([&, w] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            wait();
            for (int i = 0; i < rounds; ++i) write(w, i);
            writing.fetch_sub(1);
            CoUninitialize();
        });
    for (int r = 0; r < readers; ++r)
        threads.emplace_back([&, r] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            wait();
            for (int n = 0; n < minReads || writing.load() > 0; ++n) read(r);
            CoUninitialize();
        });
    {
        std::lock_guard<std::mutex> lk(m);
        go = true;
    }
    cv.notify_all();
    for (auto& t : threads) t.join();
}

}  // namespace racetest
