// The library and the host components registered once per fuzz target, with
// the messages of failed calls dropped (not kept or printed).
#pragma once

#include "fuzz_input.h"

#include "host/OrvMessageService.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>

#include <memory>
#include <string_view>

namespace orvfuzz {

class DiscardSink final : public orv::host::MessageSink {
public:
    void Show(std::u16string_view, std::u16string_view) override {}
};

struct HostEnvironment {
    HostEnvironment() {
        orv::host::SetMessageSink(std::make_shared<DiscardSink>());
        ORV_FUZZ_CHECK(DllRegisterServer() == S_OK);
        ORV_FUZZ_CHECK(orv::host::RegisterHostComponents(&registration) == S_OK);
    }
    orv::host::Registration registration;
};

}  // namespace orvfuzz
