// The message service: shows the library's messages to the user. The library
// creates one by its class identifier for each message and calls ShowMessage
// with the text; the service hands the text to the process's message sink.
//
// The sink is the host's choice: by default each message is one line on
// standard error; MemoryMessageSink keeps the texts for hosts that show them
// themselves, and for tests.
#pragma once

#include "frame/com.h"

#include <orvdocs/frame/outside.h>

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace orv::host {

// Where the messages go. Show may be called from any thread, several at once.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(std::u16string_view caption, std::u16string_view text) = 0;
};

// One line per message on standard error, UTF-8: "caption: text" (the caption
// and its colon left out when it is empty). Line breaks in the text become blanks.
class StderrMessageSink final : public MessageSink {
public:
    void Show(std::u16string_view caption, std::u16string_view text) override;
};

// Keeps every text, in the order shown.
class MemoryMessageSink final : public MessageSink {
public:
    void Show(std::u16string_view caption, std::u16string_view text) override;
    std::vector<std::u16string> Messages() const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<std::u16string> messages_;
};

// Sets the sink of every message service in this process and returns the one
// it replaces. A null sink restores the default (standard error).
std::shared_ptr<MessageSink> SetMessageSink(std::shared_ptr<MessageSink> sink);
// The sink in use.
std::shared_ptr<MessageSink> CurrentMessageSink();

class OrvMessageService
    : public CoClass<OrvMessageService, &CLSID_OrvMessageService, IOrvMessageService, IDispatch> {
public:
    // The caption shown with each message; "OrvDocs" until the caller puts another.
    HRESULT get_Caption(BSTR* pVal) override;
    HRESULT put_Caption(BSTR newVal) override;
    // How many messages this object has shown.
    HRESULT get_Count(LONG* pVal) override;
    // Hands the text (a null string is the empty text) to the sink.
    HRESULT ShowMessage(BSTR bstrText) override;

private:
    std::u16string caption_ = u"OrvDocs";
    LONG count_ = 0;
};

}  // namespace orv::host
