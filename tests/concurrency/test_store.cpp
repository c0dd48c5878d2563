// One store file updated at once by two processes, each with two threads on
// one database service object: new documents stored and one counter document
// stepped with retries on a stale version. Nothing is lost, every step is a
// kept version, and the file checks sound. (tests/host has the
// single-threaded processes and the killed writer.)
#include "concurrency/race_util.h"

#include "host/store_test_util.h"

#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace racetest {
namespace {

using storetest::Count;
using storetest::OpenFile;
using storetest::StoreDocument;
using storetest::StoredSum;

constexpr int kProcesses = 2, kThreads = 2, kNew = 25, kSteps = 25;

// The sum of document i stored by thread t of process p.
LONGLONG NewSum(int p, int t, int i) { return (p + 1) * 10000000LL + (t + 1) * 100000LL + i * 100; }

// One thread's work on the shared service; false at the first failure.
bool Work(IOrvDatabase* db, ULONG counter, int p, int t) {
    for (int i = 0; i < kNew; ++i) {
        if (StoreDocument(db, 7, NewSum(p, t, i)) == 0) return false;
        // A step of the counter between the new documents.
        if (i >= kSteps) continue;
        if (!storetest::StepStoredSum(db, counter)) return false;
    }
    return true;
}

TEST(ConcurrentStore, ThreadsOfTwoProcessesLoseNoDocumentAndNoStep) {
    storetest::Registered env;
    storetest::TempDir dir;
    const std::string path = dir.File("shared.db");
    ULONG counter = 0;
    {
        auto db = OpenFile(path);
        counter = StoreDocument(db.Get(), 7, 0);
        ASSERT_NE(counter, 0u);
    }
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            bool ok = true;
            {
                auto db = OpenFile(path);
                std::atomic<bool> good{static_cast<bool>(db)};
                if (db) {
                    std::vector<std::thread> threads;
                    for (int t = 0; t < kThreads; ++t)
                        threads.emplace_back([&, t] {
                            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
                            if (!Work(db.Get(), counter, p, t)) good.store(false);
                            CoUninitialize();
                        });
                    for (auto& th : threads) th.join();
                }
                ok = good.load();
            }
            _exit(ok ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
    }

    auto db = OpenFile(path);
    EXPECT_EQ(Count(db.Get()), 1 + kProcesses * kThreads * kNew);
    EXPECT_EQ(StoredSum(db.Get(), counter), 100LL * kProcesses * kThreads * kSteps);
    std::multiset<LONGLONG> sums;
    auto view = storetest::View(db.Get());
    for (LONG i = 0; i < Count(db.Get()); ++i) {
        ULONG address = 0;
        ASSERT_EQ(view->GetAddress(i, &address), S_OK);
        if (address != counter) sums.insert(StoredSum(db.Get(), address));
    }
    for (int p = 0; p < kProcesses; ++p)
        for (int t = 0; t < kThreads; ++t)
            for (int i = 0; i < kNew; ++i) EXPECT_EQ(sums.count(NewSum(p, t, i)), 1u) << p << "/" << t << "/" << i;
    LONG versions = 0;
    ASSERT_EQ(view->GetVersionCount(counter, &versions), S_OK);
    EXPECT_EQ(versions, kProcesses * kThreads * kSteps) << "every step replaced a version, and each was kept";
    EXPECT_EQ(storetest::Integrity(db.Get()), "ok");
}

}  // namespace
}  // namespace racetest
