// The host's message service: found by its class identifier once registered,
// hands every text to the chosen sink, and the default sink writes one line
// per message on standard error.
#include "host/OrvMessageService.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;

ComPtr<IOrvMessageService> Create() {
    ComPtr<IOrvMessageService> service;
    EXPECT_EQ(CoCreateInstance(CLSID_OrvMessageService, nullptr, CLSCTX_ALL, IID_IOrvMessageService,
                               reinterpret_cast<void**>(service.GetAddressOf())),
              S_OK);
    return service;
}

class MessageServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostComponents(&reg_), S_OK);
        previous_ = orv::host::SetMessageSink(sink_);
    }
    void TearDown() override {
        orv::host::SetMessageSink(previous_);
        reg_.Revoke();
    }
    orv::host::Registration reg_;
    std::shared_ptr<orv::host::MemoryMessageSink> sink_ = std::make_shared<orv::host::MemoryMessageSink>();
    std::shared_ptr<orv::host::MessageSink> previous_;
};

TEST_F(MessageServiceTest, TextsReachTheSinkInOrderAndAreCounted) {
    auto service = Create();
    ASSERT_TRUE(service);
    ASSERT_EQ(service->ShowMessage(Bstr(u"первое")), S_OK);
    ASSERT_EQ(service->ShowMessage(nullptr), S_OK);
    ASSERT_EQ(service->ShowMessage(Bstr(u"third")), S_OK);
    EXPECT_EQ(sink_->Messages(), (std::vector<std::u16string>{u"первое", u"", u"third"}));
    LONG count = 0;
    ASSERT_EQ(service->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);
    // Each object counts its own messages.
    auto other = Create();
    ASSERT_EQ(other->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0);
}

TEST_F(MessageServiceTest, CaptionDefaultsToTheLibraryNameAndCanBeChanged) {
    auto service = Create();
    Bstr caption;
    ASSERT_EQ(service->get_Caption(caption.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(caption.View(), u"OrvDocs");
    ASSERT_EQ(service->put_Caption(Bstr(u"Зарплата")), S_OK);
    ASSERT_EQ(service->get_Caption(caption.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(caption.View(), u"Зарплата");
    EXPECT_EQ(service->get_Caption(nullptr), E_POINTER);
    EXPECT_EQ(service->get_Count(nullptr), E_POINTER);
}

TEST_F(MessageServiceTest, SinkIsReplacedAndRestored) {
    auto second = std::make_shared<orv::host::MemoryMessageSink>();
    auto replaced = orv::host::SetMessageSink(second);
    EXPECT_EQ(replaced, sink_);
    Create()->ShowMessage(Bstr(u"to the second"));
    EXPECT_TRUE(sink_->Messages().empty());
    EXPECT_EQ(second->Messages().size(), 1u);
    orv::host::SetMessageSink(nullptr);
    EXPECT_NE(orv::host::CurrentMessageSink(), nullptr);
    EXPECT_NE(orv::host::CurrentMessageSink(), second);
}

TEST_F(MessageServiceTest, DefaultSinkWritesOneLinePerMessageOnStandardError) {
    orv::host::SetMessageSink(nullptr);
    testing::internal::CaptureStderr();
    Create()->ShowMessage(Bstr(u"строка\nдве"));
    std::string out = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "OrvDocs: строка две\n");
}

TEST_F(MessageServiceTest, MessagesFromSeveralThreadsAreAllKept) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 50; ++i) Create()->ShowMessage(Bstr(u"m"));
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(sink_->Messages().size(), 200u);
}

}  // namespace
