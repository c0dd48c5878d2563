// The module's count of live objects and held factories under many threads:
// objects of several classes created and released (some released by another
// thread than the one that made them), factories held, server locks taken and
// given back, while another thread keeps asking DllCanUnloadNow. One object
// lives through the whole run, so the module may never be unloadable until it
// goes; once everything is released it must be.
#include "concurrency/race_util.h"

#include <orvdocs/typelib/classes.h>

#include <deque>

namespace racetest {
namespace {

const CLSID* const kClasses[] = {&CLSID_OrvDocument, &CLSID_OrvDocList, &CLSID_OrvMonth, &CLSID_OrvLPDoc,
                                 &CLSID_OrvMTrace,   &CLSID_OrvBank,    &CLSID_OrvDocExtension};

ComPtr<IUnknown> Create(const CLSID& clsid) {
    ComPtr<IUnknown> obj;
    CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(obj.GetAddressOf()));
    return obj;
}

// Objects handed from the threads that made them to the one that releases them.
class Handover {
public:
    void Put(ComPtr<IUnknown> obj) {
        std::lock_guard<std::mutex> guard(lock_);
        queue_.push_back(std::move(obj));
    }
    ComPtr<IUnknown> Take() {
        std::lock_guard<std::mutex> guard(lock_);
        if (queue_.empty()) return {};
        ComPtr<IUnknown> obj = std::move(queue_.front());
        queue_.pop_front();
        return obj;
    }

private:
    std::mutex lock_;
    std::deque<ComPtr<IUnknown>> queue_;
};

TEST(ConcurrentModule, NeverUnloadableWhileAnythingLivesAndUnloadableAfter) {
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ASSERT_EQ(DllCanUnloadNow(), S_OK) << "nothing of the module is alive before the run";
    ComPtr<IUnknown> witness = Create(CLSID_OrvDocument);
    ASSERT_TRUE(witness);
    ASSERT_EQ(DllCanUnloadNow(), S_FALSE);

    Findings found;
    Handover handover;
    std::atomic<int> creating{3};
    std::atomic<bool> releaserDone{false};
    std::vector<std::thread> threads;
    for (int c = 0; c < 3; ++c)
        threads.emplace_back([&, c] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            for (int i = 0; i < 400; ++i) {
                const CLSID& clsid = *kClasses[(c * 5 + i) % std::size(kClasses)];
                if (i % 10 == 9) {
                    // A factory held, an object made by it, the server locked and
                    // unlocked, the factory released.
                    IClassFactory* factory = nullptr;
                    if (!found.Expect(DllGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)) ==
                                          S_OK && factory, "DllGetClassObject failed"))
                        continue;
                    found.Expect(factory->LockServer(TRUE) == S_OK, "LockServer(TRUE) failed");
                    ComPtr<IUnknown> obj;
                    found.Expect(factory->CreateInstance(nullptr, IID_IUnknown,
                                                         reinterpret_cast<void**>(obj.GetAddressOf())) == S_OK,
                                 "IClassFactory::CreateInstance failed");
                    obj.Reset();
                    found.Expect(factory->LockServer(FALSE) == S_OK, "LockServer(FALSE) failed");
                    factory->Release();
                    continue;
                }
                ComPtr<IUnknown> obj = Create(clsid);
                if (!found.Expect(static_cast<bool>(obj), "CoCreateInstance failed")) continue;
                if (i % 2) handover.Put(std::move(obj));  // released by the releaser thread
            }
            creating.fetch_sub(1);
            CoUninitialize();
        });
    threads.emplace_back([&] {
        for (;;) {
            const bool last = creating.load() == 0;
            while (ComPtr<IUnknown> obj = handover.Take()) obj.Reset();
            if (last) break;
            std::this_thread::yield();
        }
        releaserDone.store(true);
    });
    threads.emplace_back([&] {
        // At least a thousand questions, and on until the last object was released.
        for (long n = 0; n < 1000 || !releaserDone.load(); ++n) {
            found.Expect(DllCanUnloadNow() == S_FALSE, "DllCanUnloadNow said S_OK while the witness was alive");
        }
    });
    for (auto& t : threads) t.join();

    EXPECT_EQ(found.FailureCount(), 0) << found.Report();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the witness is still alive";
    witness.Reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "every object, factory and server lock was given back";
}

}  // namespace
}  // namespace racetest
