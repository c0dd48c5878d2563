// The objects' text forms and binary records under arbitrary input: the
// month (FullString, ShortString, MonthRecord), the additional month record
// (MTraceRecord and its text forms), the document list and the instance
// list, the sick-leave protocol, the bank, the month list and the document;
// and the host components' text forms: the reference item, the account and
// address lists and the sum collector.
//
// Input: byte 0 chooses the class (an index into the classes below); byte 1
// chooses what is put: 0 FullString, 1 ShortString, 2 the binary record
// (MonthRecord or MTraceRecord, for the classes that have one); byte 2 how
// the rest is read as text (widened bytes, UTF-16LE, UTF-8). For a binary
// record the rest is the record's bytes as they are.
//
// Besides "no crash, no leak, no sanitizer report", the target checks:
//  - a put that is refused for its form (E_INVALIDARG, E_POINTER) leaves
//    the object's state as it was (its FullString, or ShortString for the
//    month, which writes no full form);
//  - what an object writes after an accepted put (text A), a fresh object of
//    the same class takes and writes as exactly A again; the same for
//    ShortString and for the binary record.
#include "fuzz_host.h"
#include "fuzz_input.h"


#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <memory>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orvfuzz::Input;

const CLSID* const kClasses[] = {&CLSID_OrvMonth,  &CLSID_OrvMTrace,         &CLSID_OrvDocList,
                                 &CLSID_OrvInstanceList, &CLSID_OrvBLDocProtocol, &CLSID_OrvBank,
                                 &CLSID_OrvMonthList, &CLSID_OrvDocument,
                                 // Host components (orvhost) with a text form of their own.
                                 &CLSID_OrvRefItem, &CLSID_OrvAccountList, &CLSID_OrvAddressList,
                                 &CLSID_OrvSumCollector};

ComPtr<IUnknown> New(const CLSID& clsid) {
    ComPtr<IUnknown> obj;
    ORV_FUZZ_CHECK(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                    reinterpret_cast<void**>(obj.GetAddressOf())) == S_OK);
    return obj;
}

std::u16string Copy(const Bstr& s) { return std::u16string(s.View()); }
std::string Bytes(const Bstr& s) {
    return s ? std::string(reinterpret_cast<const char*>(s.Get()), s.ByteLength()) : std::string();
}

// The text form `shortForm` picks, written by the object.
Bstr Written(IOrvObjAsXmlString* form, bool shortForm) {
    Bstr text;
    const HRESULT hr = shortForm ? form->get_ShortString(text.ReleaseAndGetAddressOf())
                                 : form->get_FullString(text.ReleaseAndGetAddressOf());
    ORV_FUZZ_CHECK(hr == S_OK);
    return text;
}

// The object's whole state as text: its FullString, or its ShortString for
// a class that writes no full form (the month).
std::u16string State(IOrvObjAsXmlString* form) {
    Bstr text;
    HRESULT hr = form->get_FullString(text.ReleaseAndGetAddressOf());
    if (hr == E_NOTIMPL) hr = form->get_ShortString(text.ReleaseAndGetAddressOf());
    ORV_FUZZ_CHECK(hr == S_OK);
    return std::u16string(text.View());
}

HRESULT Put(IOrvObjAsXmlString* form, bool shortForm, BSTR text) {
    return shortForm ? form->put_ShortString(text) : form->put_FullString(text);
}

void TextForm(const CLSID& clsid, bool shortForm, const Bstr& input) {
    ComPtr<IUnknown> obj = New(clsid);
    ComPtr<IOrvObjAsXmlString> form;
    if (obj.As(&form) != S_OK) return;
    const std::u16string before = State(form.Get());
    const HRESULT hr = Put(form.Get(), shortForm, input.Get());
    if (hr == E_INVALIDARG || hr == E_POINTER) {
        ORV_FUZZ_CHECK(State(form.Get()) == before);
        return;
    }
    if (FAILED(hr)) return;  // E_NOTIMPL: the class does not read that form
    const Bstr a = Written(form.Get(), shortForm);

    ComPtr<IOrvObjAsXmlString> fresh;
    ORV_FUZZ_CHECK(New(clsid).As(&fresh) == S_OK);
    ORV_FUZZ_CHECK(Put(fresh.Get(), shortForm, a.Get()) == S_OK);
    const Bstr b = Written(fresh.Get(), shortForm);
    if (a.View() != b.View()) {
        std::fprintf(stderr, "A: %s\nB: %s\n", orv::Utf16ToUtf8(a.View()).c_str(), orv::Utf16ToUtf8(b.View()).c_str());
        ORV_FUZZ_CHECK(a.View() == b.View());
    }
    // The object that took A is in the first object's state.
    ORV_FUZZ_CHECK(State(fresh.Get()) == State(form.Get()));
}

template <class I>
void BinaryRecord(const CLSID& clsid, std::string_view bytes, HRESULT (I::*get)(BSTR*), HRESULT (I::*put)(BSTR)) {
    ComPtr<I> obj;
    ORV_FUZZ_CHECK(New(clsid).As(&obj) == S_OK);
    Bstr input = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
    Bstr before;
    ORV_FUZZ_CHECK(((*obj).*get)(before.ReleaseAndGetAddressOf()) == S_OK);
    const HRESULT hr = ((*obj).*put)(input.Get());
    Bstr a;
    ORV_FUZZ_CHECK(((*obj).*get)(a.ReleaseAndGetAddressOf()) == S_OK);
    if (FAILED(hr)) {
        ORV_FUZZ_CHECK(Bytes(a) == Bytes(before));
        return;
    }
    ComPtr<I> fresh;
    ORV_FUZZ_CHECK(New(clsid).As(&fresh) == S_OK);
    ORV_FUZZ_CHECK(((*fresh).*put)(a.Get()) == S_OK);
    Bstr b;
    ORV_FUZZ_CHECK(((*fresh).*get)(b.ReleaseAndGetAddressOf()) == S_OK);
    ORV_FUZZ_CHECK(Bytes(a) == Bytes(b));

    // The record survives the text form too.
    ComPtr<IOrvObjAsXmlString> form, copy;
    if (obj.As(&form) != S_OK) return;
    ORV_FUZZ_CHECK(New(clsid).As(&copy) == S_OK);
    Bstr full;
    bool shortForm = false;
    if (form->get_FullString(full.ReleaseAndGetAddressOf()) == E_NOTIMPL) {
        shortForm = true;
        ORV_FUZZ_CHECK(form->get_ShortString(full.ReleaseAndGetAddressOf()) == S_OK);
    }
    ORV_FUZZ_CHECK(Put(copy.Get(), shortForm, full.Get()) == S_OK);
    ORV_FUZZ_CHECK(Copy(Written(copy.Get(), shortForm)) == Copy(full));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvfuzz::HostEnvironment environment;
    Input in(data, size);
    const std::size_t which = in.Byte() % std::size(kClasses);
    const CLSID& clsid = *kClasses[which];
    const unsigned what = in.Byte() % 3;
    const unsigned mode = in.Byte();
    if (what == 2) {
        if (clsid == CLSID_OrvMonth)
            BinaryRecord<IOrvMonth>(clsid, in.Rest(), &IOrvMonth::get_MonthRecord, &IOrvMonth::put_MonthRecord);
        else if (clsid == CLSID_OrvMTrace)
            BinaryRecord<IOrvMTrace>(clsid, in.Rest(), &IOrvMTrace::get_MTraceRecord, &IOrvMTrace::put_MTraceRecord);
        return 0;
    }
    const Bstr text(orvfuzz::AsText(in.Rest(), mode));
    TextForm(clsid, what == 1, text);
    return 0;
}
