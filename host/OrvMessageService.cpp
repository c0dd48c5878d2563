#include "host/OrvMessageService.h"

#include <orvdocs/platform/strings.h>

#include <cstdio>

namespace orv::host {
namespace {

std::mutex g_sinkMutex;
std::shared_ptr<MessageSink> g_sink;  // null: the default sink

std::u16string_view View(BSTR s) noexcept { return s ? std::u16string_view(s, SysStringLen(s)) : std::u16string_view(); }

}  // namespace

void StderrMessageSink::Show(std::u16string_view caption, std::u16string_view text) {
    std::u16string line;
    if (!caption.empty()) {
        line.append(caption);
        line.append(u": ");
    }
    for (char16_t c : text) line.push_back(c == u'\n' || c == u'\r' ? u' ' : c);
    line.push_back(u'\n');
    std::string utf8 = Utf16ToUtf8(line);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

void MemoryMessageSink::Show(std::u16string_view, std::u16string_view text) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.emplace_back(text);
}

std::vector<std::u16string> MemoryMessageSink::Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

void MemoryMessageSink::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
}

std::shared_ptr<MessageSink> SetMessageSink(std::shared_ptr<MessageSink> sink) {
    std::lock_guard<std::mutex> lock(g_sinkMutex);
    std::swap(g_sink, sink);
    return sink;
}

std::shared_ptr<MessageSink> CurrentMessageSink() {
    {
        std::lock_guard<std::mutex> lock(g_sinkMutex);
        if (g_sink) return g_sink;
    }
    static const std::shared_ptr<MessageSink> standardError = std::make_shared<StderrMessageSink>();
    return standardError;
}

HRESULT OrvMessageService::get_Caption(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        *pVal = SysAllocStringLen(caption_.data(), static_cast<UINT>(caption_.size()));
        return *pVal ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT OrvMessageService::put_Caption(BSTR newVal) {
    return Locked([&] {
        caption_.assign(View(newVal));
        return S_OK;
    });
}

HRESULT OrvMessageService::get_Count(LONG* pVal) {
    if (!pVal) return E_POINTER;
    return Locked([&] {
        *pVal = count_;
        return S_OK;
    });
}

HRESULT OrvMessageService::ShowMessage(BSTR bstrText) {
    std::u16string caption;
    HRESULT hr = Locked([&] {
        caption = caption_;
        ++count_;
        return S_OK;
    });
    if (FAILED(hr)) return hr;
    // The sink runs without the object's lock: it may take its time.
    return Guarded([&] {
        CurrentMessageSink()->Show(caption, View(bstrText));
        return S_OK;
    });
}

}  // namespace orv::host
