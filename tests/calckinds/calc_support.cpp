#include "calckinds/calc_support.h"

#include "host/registration.h"

#include <gtest/gtest.h>

namespace calc_test {
namespace {

// The host's date and message services, registered for every test.
class HostComponents : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(orv::host::RegisterHostComponents(&registration_), S_OK); }
    void TearDown() override { registration_.Revoke(); }

private:
    orv::host::Registration registration_;
};

[[maybe_unused]] ::testing::Environment* const kHost = ::testing::AddGlobalTestEnvironment(new HostComponents);

}  // namespace

std::u16string ErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.GetAddressOf()) != S_OK || !info) return {};
    Bstr text;
    info->GetDescription(text.ReleaseAndGetAddressOf());
    return std::u16string(text.View());
}

std::u16string BodyText(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    if (!ext) return {};
    Bstr body;
    EXPECT_EQ(ext->get_Body(body.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(body.View());
}

void SetBodyText(IOrvDocument* doc, std::u16string_view xml) {
    ComPtr<IOrvDocExtension> ext = kindtest::ExtensionOf(doc);
    ASSERT_TRUE(ext);
    Bstr body(xml);
    ASSERT_EQ(ext->put_Body(body), S_OK);
    ASSERT_EQ(ext->put_Length(static_cast<LONG>(xml.size() * 2)), S_OK);
}

}  // namespace calc_test
