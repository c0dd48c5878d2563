// The command-line host's demonstration: shared helpers and the list of
// steps. Each area of the library adds its step in a file of its own
// (demo_<area>.cpp) with ORV_DEMO_STEP; main runs the steps in order.
#pragma once

#include <orvdocs/orvdocs.h>

#include <string>

namespace orv::demo {

// What every step is given: the database service and an open channel.
struct Context {
    IOrvDatabase* db = nullptr;
    LONG pipe = 0;
};

// Stops the demonstration with a message when a call fails.
struct Failed {
    std::string what;
    HRESULT hr;
};
HRESULT Must(HRESULT hr, const char* what);
std::string Hex(HRESULT hr);
CY Money(double value);
DATE Day(WORD year, WORD month, WORD day);
// Prints the thread's current error information, as an automation host shows it.
void ShowErrorReport(const char* what, HRESULT hr);
// A new document of the type from the database service, marked new.
ComPtr<IOrvDocument> NewDocument(IOrvDatabase* db, LONG pipe, LONG type);
// The document's display text and XML form (the record's hex shortened).
void Show(IOrvDocument* doc);

using StepFn = void (*)(Context&);
struct Step {
    int order;
    const char* title;
    StepFn run;
};
// Registers a step at static initialisation; returns true.
bool AddStep(int order, const char* title, StepFn run);
// The registered steps, by order.
const Step* Steps(int* count);

}  // namespace orv::demo

#define ORV_DEMO_STEP(order, title, fn) \
    [[maybe_unused]] static const bool orv_demo_step_registered_##fn = ::orv::demo::AddStep(order, title, &fn)
