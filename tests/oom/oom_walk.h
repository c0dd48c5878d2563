// The walk over injected allocation failures: an operation is run again and
// again on a fresh object, the N-th counted allocation failing (N = 1, 2, ...),
// until a run counts fewer than N allocations, which is the run without any
// failure. Every run must answer S_OK with exactly the result of the run
// without the hook, or a failure status with the object exactly as it was.
#pragma once

#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>

namespace oomtest {

// One operation on one object, described as texts so that any state can be
// compared: make builds the object (hook off), state describes what the
// operation may change (hook off), run performs it and leaves in *result a
// description of what it answered, called once the hook is off again.
using Describe = std::function<std::u16string()>;

template <class Object>
struct Operation {
    std::function<Object()> make;
    std::function<std::u16string(Object&)> state;
    std::function<HRESULT(Object&, Describe* result)> run;
    // Failure statuses documented for running out of memory besides E_OUTOFMEMORY.
    std::set<HRESULT> alsoAllowed{};
};

struct WalkFigures {
    long runs = 0;      // runs with a failure injected
    long failed = 0;    // of which answered a failure status
    long otherStatus = 0;  // of those, a status other than E_OUTOFMEMORY
    long allocations = 0;  // counted allocations of the clean run
};

// Switches the hook off however the test leaves.
struct HookOff {
    ~HookOff() { OrvFailAllocationAt(0); }
};

template <class Object>
WalkFigures Walk(const Operation<Object>& op, long limit = 20000) {
    WalkFigures figures;
    HookOff off;
    // The run without the hook.
    Object reference = op.make();
    Describe describeExpected;
    EXPECT_EQ(op.run(reference, &describeExpected), S_OK);
    const std::u16string expected = describeExpected ? describeExpected() : std::u16string();
    const std::u16string expectedState = op.state(reference);

    for (long n = 1; n <= limit; ++n) {
        Object object = op.make();
        const std::u16string before = op.state(object);
        Describe describe;
        OrvFailAllocationAt(n);
        const HRESULT hr = op.run(object, &describe);
        const long counted = OrvCountedAllocations();
        OrvFailAllocationAt(0);
        const std::u16string result = hr == S_OK && describe ? describe() : std::u16string();
        if (counted < n) {
            // Nothing failed: the clean run.
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(result, expected);
            EXPECT_EQ(op.state(object), expectedState);
            figures.allocations = counted;
            return figures;
        }
        ++figures.runs;
        if (hr == S_OK) {
            EXPECT_EQ(result, expected) << "failure injected at " << n;
            EXPECT_EQ(op.state(object), expectedState) << "failure injected at " << n;
        } else {
            ++figures.failed;
            if (hr != E_OUTOFMEMORY) ++figures.otherStatus;
            EXPECT_TRUE(hr == E_OUTOFMEMORY || op.alsoAllowed.count(hr))
                << "failure injected at " << n << " answered 0x" << std::hex << static_cast<unsigned long>(hr);
            EXPECT_EQ(op.state(object), before) << "failure injected at " << n;
        }
        if (::testing::Test::HasFailure()) return figures;  // the first fault is enough to read
    }
    ADD_FAILURE() << "no clean run within " << limit << " steps";
    return figures;
}

inline void Report(const char* name, const WalkFigures& f) {
    std::printf("[ oom walk ] %s: %ld allocations, %ld runs with a failure, %ld answered a failure (%ld not "
                "E_OUTOFMEMORY)\n",
                name, f.allocations, f.runs, f.failed, f.otherStatus);
}

}  // namespace oomtest
