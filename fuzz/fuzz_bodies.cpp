// The document kinds' extension bodies: every kind that reads its body
// (sum lists, loan, timesheet, piece work, certificate, writ and the rest,
// the vacation protocol's records) under arbitrary bodies, older byte bodies
// and XML bodies both.
//
// Input: byte 0 chooses the kind (an index into the type codes below);
// byte 1 chooses lDcdpod (even: 0, the older byte body; odd: 1, the XML
// body); the rest is the extension's body, its Length the body's byte count.
// The kind is created on a generic document of that type code and reads the
// body (InitFromExtension, or Load for the vacation protocol), then writes it
// (UpdateExtension, or Save).
//
// Besides "no crash, no leak, no sanitizer report", the target checks that
// what a kind writes is a fixed point: a fresh document of the same type
// given the written body reads it and writes exactly the same body and
// Length again.
#include "fuzz_input.h"

#include "host/OrvMessageService.h"
#include "host/registration.h"
#include "kinds/selection.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <memory>
#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orvfuzz::Input;

class DiscardSink final : public orv::host::MessageSink {
public:
    void Show(std::u16string_view, std::u16string_view) override {}
};

struct Environment {
    Environment() {
        orv::host::SetMessageSink(std::make_shared<DiscardSink>());
        ORV_FUZZ_CHECK(DllRegisterServer() == S_OK);
        ORV_FUZZ_CHECK(orv::host::RegisterHostComponents(&registration) == S_OK);
    }
    orv::host::Registration registration;
};

// Type codes of the kinds that keep data in the extension's body.
constexpr LONG kTypes[] = {1,   7,   8,   10,  14,  15,  17,  21,  22,  30,  40,  51,  68,  69,
                           91,  92,  93,  136, 137, 138, 250, 260, 301, 304, 332, 333, 334, 335,
                           336, 338, 346, 349, 356, 361, 362, 369, 396, 407, 408};
constexpr LONG kVacation = 22;
constexpr std::size_t kRecordSize = 304;

ComPtr<IOrvDocument> NewDocument(LONG type, LONG dcdpod) {
    ComPtr<IOrvDocument> doc;
    ORV_FUZZ_CHECK(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                                    reinterpret_cast<void**>(doc.GetAddressOf())) == S_OK);
    std::string record(kRecordSize, '\0');
    record[2] = static_cast<char>(type & 0xFF);
    record[3] = static_cast<char>((type >> 8) & 0xFF);
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(record.data(), static_cast<UINT>(record.size())));
    ORV_FUZZ_CHECK(doc->put_DocRecord(rec) == S_OK);
    ORV_FUZZ_CHECK(doc->put_lDcdpod(dcdpod) == S_OK);
    return doc;
}

ComPtr<IOrvDocExtension> ExtensionOf(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext;
    ORV_FUZZ_CHECK(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())) == S_OK);
    return ext;
}

void SetBody(IOrvDocument* doc, std::string_view bytes, LONG length) {
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
    Bstr body = Bstr::Attach(SysAllocStringByteLen(bytes.data(), static_cast<UINT>(bytes.size())));
    ORV_FUZZ_CHECK(ext->put_Body(body) == S_OK);
    ORV_FUZZ_CHECK(ext->put_Length(length) == S_OK);
}

struct Body {
    std::string bytes;
    LONG length = 0;
    bool operator==(const Body&) const = default;
};

Body BodyOf(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext = ExtensionOf(doc);
    Body out;
    Bstr body;
    ORV_FUZZ_CHECK(ext->get_Body(body.ReleaseAndGetAddressOf()) == S_OK);
    if (body) out.bytes.assign(reinterpret_cast<const char*>(body.Get()), body.ByteLength());
    ORV_FUZZ_CHECK(ext->get_Length(&out.length) == S_OK);
    return out;
}

// Calls a method without arguments through the kind's dispatch interface;
// S_FALSE when the kind has no such method.
HRESULT CallByName(IDispatch* disp, const char16_t* name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(name))};
    if (disp->GetIDsOfNames(IID_NULL, names, 1, 0, &id) != S_OK) return S_FALSE;
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    const HRESULT hr = disp->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr);
    VariantClear(&result);
    return hr;
}

// The kind of the document reads its body and writes it again. Returns
// false when the kind has no reader or refused the body.
bool ReadAndWrite(IOrvDocument* doc, LONG type) {
    ComPtr<IUnknown> obj;
    if (FAILED(orv::CreateSpecificObject(type, doc, obj.GetAddressOf())) || !obj) return false;
    if (type == kVacation) {
        ComPtr<IOrvOTProtocol> protocol;
        ORV_FUZZ_CHECK(obj.As(&protocol) == S_OK);
        if (protocol->Load() != S_OK) return false;
        ORV_FUZZ_CHECK(SUCCEEDED(protocol->Save()));
        return true;
    }
    ComPtr<IDispatch> disp;
    if (obj.As(&disp) != S_OK) return false;
    if (CallByName(disp.Get(), u"InitFromExtension") != S_OK) return false;
    const HRESULT hr = CallByName(disp.Get(), u"UpdateExtension");
    return hr == S_OK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Environment environment;
    Input in(data, size);
    const LONG type = kTypes[in.Byte() % std::size(kTypes)];
    const LONG dcdpod = in.Byte() & 1;
    const std::string_view body = in.Rest();

    ComPtr<IOrvDocument> first = NewDocument(type, dcdpod);
    SetBody(first.Get(), body, static_cast<LONG>(body.size()));
    if (!ReadAndWrite(first.Get(), type)) return 0;
    const Body a = BodyOf(first.Get());

    // What was written reads back to the same body.
    ComPtr<IOrvDocument> second = NewDocument(type, dcdpod);
    SetBody(second.Get(), a.bytes, a.length);
    ORV_FUZZ_CHECK(ReadAndWrite(second.Get(), type));
    const Body b = BodyOf(second.Get());
    if (!(a == b)) {
        std::fprintf(stderr, "type %ld dcdpod %ld: first write %zu bytes (Length %ld), second %zu bytes (Length %ld)\n",
                     static_cast<long>(type), static_cast<long>(dcdpod), a.bytes.size(), static_cast<long>(a.length),
                     b.bytes.size(), static_cast<long>(b.length));
        ORV_FUZZ_CHECK(a == b);
    }
    return 0;
}
