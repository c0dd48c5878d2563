// The document kinds' extension bodies: every kind that reads its body
// (sum lists, loan, timesheet, piece work, certificate, writ and the rest,
// the vacation protocol's records) under arbitrary bodies, older byte bodies
// and XML bodies both.
//
// Input: byte 0 chooses the kind (an index into the type codes below, then
// the vacation protocol on the documents of kVacationTypes); byte 1, bit 0:
// lDcdpod (0, the older byte body; 1, the XML body), bit 1: bit 0x04 of the
// first document's Dfl (the host's mark that a type-22 body is the vacation
// protocol's XML, not an older record), bit 2: the rest is a list text
// (UTF-8) handed to the kind's AddSumsXml (S1, S3) or PutSumsXml (the loan)
// instead of a body; bit 3 (without bit 2): the rest is a host text (UTF-8)
// put into every text property the kind's type information lists (the job
// record's periods are read as XML); otherwise the rest is the extension's
// body, its Length the body's byte count. The kind is created on a generic
// document of that type code and reads the body (InitFromExtension, Protocol
// or xmlString get, or Load for the vacation protocol), then writes it
// (UpdateExtension, the put, or Save). The sick-leave document's protocol,
// read from the body in either older record layout or XML, is also written
// as text.
//
// Besides "no crash, no leak, no sanitizer report", the target checks that
// a list text refused as malformed leaves the list as it was, and that
// what a kind writes is a fixed point: a fresh document of the same type
// given the written body reads it and writes exactly the same body and
// Length again; the sick-leave protocol read from the body (XML or an older
// record) writes a text a new protocol object takes and writes the same; the
// sick-leave protocol read from a written body, written and read once more,
// gives the same text; a host text put into a property is read back the same
// from the written body (up to a NUL, when XML allows every character of it;
// the job record's periods, kept as the XML they were read into, excepted).
#include "fuzz_host.h"
#include "fuzz_input.h"

#include "kinds/KindBase.h"
#include "kinds/selection.h"
#include "vacation/OrvOTDoc.h"

#include <orvdocs/orvdocs.h>
#include <orvdocs/platform/platform.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using orv::Bstr;
using orv::ComPtr;
using orvfuzz::Input;

// Type codes of the kinds that keep data in the extension's body.
constexpr LONG kTypes[] = {1,   7,   8,   10,  14,  15,  17,  21,  22,  30,  40,  51,  68,  69,
                           91,  92,  93,  136, 137, 138, 250, 260, 301, 304, 332, 333, 334, 335,
                           336, 338, 346, 349, 356, 361, 362, 369, 396, 407, 408};
// Types whose documents carry the vacation protocol under a root of their
// own (UVDOCEX, VVDOCEX) while their specific object is another kind: the
// protocol object is attached to them directly, as a host does.
constexpr LONG kVacationTypes[] = {93, 349};
constexpr std::size_t kRecordSize = 304;

ComPtr<IOrvDocument> NewDocument(LONG type, LONG dcdpod, LONG flags = 0) {
    ComPtr<IOrvDocument> doc;
    ORV_FUZZ_CHECK(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                                    reinterpret_cast<void**>(doc.GetAddressOf())) == S_OK);
    std::string record(kRecordSize, '\0');
    record[2] = static_cast<char>(type & 0xFF);
    record[3] = static_cast<char>((type >> 8) & 0xFF);
    Bstr rec = Bstr::Attach(SysAllocStringByteLen(record.data(), static_cast<UINT>(record.size())));
    ORV_FUZZ_CHECK(doc->put_DocRecord(rec) == S_OK);
    ORV_FUZZ_CHECK(doc->put_lDcdpod(dcdpod) == S_OK);
    if (flags) ORV_FUZZ_CHECK(doc->put_Dfl(flags) == S_OK);
    return doc;
}

void CopyRecord(IOrvDocument* from, IOrvDocument* to) {
    Bstr record;
    ORV_FUZZ_CHECK(from->get_DocRecord(record.ReleaseAndGetAddressOf()) == S_OK);
    ORV_FUZZ_CHECK(to->put_DocRecord(record.Get()) == S_OK);
    LONG dcdpod = 0;
    ORV_FUZZ_CHECK(from->get_lDcdpod(&dcdpod) == S_OK);
    ORV_FUZZ_CHECK(to->put_lDcdpod(dcdpod) == S_OK);
    // The vacation protocol writes XML, and a type-22 document reads its body
    // as XML only with bit 0x04 of Dfl set (the host's mark; without it the
    // body is taken for an older record, docs/vacation.md).
    LONG type = 0, flags = 0;
    ORV_FUZZ_CHECK(to->get_lDcType(&type) == S_OK);
    ORV_FUZZ_CHECK(from->get_Dfl(&flags) == S_OK);
    ORV_FUZZ_CHECK(to->put_Dfl(type == 22 ? flags | 0x04 : flags) == S_OK);
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

// A body for a message: UTF-16 text as UTF-8 when it starts with '<', else
// hexadecimal.
std::string Printable(const std::string& bytes) {
    if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == 0)
        return orv::Utf16ToUtf8(orvfuzz::AsUtf16(bytes));
    std::string out;
    static const char digits[] = "0123456789ABCDEF";
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// Two writes of a body gave the same bytes and Length.
void SameBody(LONG type, LONG dcdpod, const Body& a, const Body& b) {
    if (a == b) return;
    std::fprintf(stderr, "type %ld dcdpod %ld: one write %zu bytes (Length %ld), the next %zu bytes (Length %ld)\n",
                 static_cast<long>(type), static_cast<long>(dcdpod), a.bytes.size(), static_cast<long>(a.length),
                 b.bytes.size(), static_cast<long>(b.length));
    std::fprintf(stderr, "A: %s\nB: %s\n", Printable(a.bytes).c_str(), Printable(b.bytes).c_str());
    ORV_FUZZ_CHECK(a == b);
}

// True when a written body holds a character reference to a control
// character other than tab, line feed and carriage return: XML does not allow
// one, so such a body would not read back. The DOM writes U+FFFD for those
// characters, so a kind's written body never holds one.
bool HoldsForbiddenReference(const std::string& bytes) {
    const std::u16string text = orvfuzz::AsUtf16(bytes);
    for (std::size_t i = text.find(u"&#"); i != std::u16string::npos; i = text.find(u"&#", i + 2)) {
        unsigned value = 0;
        std::size_t j = i + 2;
        while (j < text.size() && text[j] >= u'0' && text[j] <= u'9' && value < 1000) value = value * 10 + (text[j++] - u'0');
        if (j < text.size() && text[j] == u';' && j > i + 2 && value < 32 && value != 9 && value != 10 && value != 13)
            return true;
    }
    return false;
}

// The member's DISPID through the kind's dispatch interface; false when the
// kind has no member of that name.
bool IdOf(IDispatch* disp, const char16_t* name, DISPID* id) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(name))};
    return disp->GetIDsOfNames(IID_NULL, names, 1, 0, id) == S_OK;
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

// An object's FullString (empty when it has no text form).
std::u16string TextForm(IUnknown* obj) {
    ComPtr<IOrvObjAsXmlString> form;
    if (obj->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())) != S_OK) return {};
    Bstr text;
    ORV_FUZZ_CHECK(form->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK);
    return std::u16string(text.View());
}

// The sick-leave document's protocol as its text form (empty for other
// kinds): the older record layouts are read into it.
std::u16string ProtocolText(IUnknown* obj) {
    ComPtr<IOrvBLDoc> bl;
    if (obj->QueryInterface(IID_IOrvBLDoc, reinterpret_cast<void**>(bl.GetAddressOf())) != S_OK) return {};
    ComPtr<IUnknown> protocol;
    if (bl->get_BlProtocol(protocol.GetAddressOf()) != S_OK || !protocol) return {};
    ComPtr<IOrvObjAsXmlString> form;
    if (protocol.As(&form) != S_OK) return {};
    Bstr text;
    ORV_FUZZ_CHECK(form->get_FullString(text.ReleaseAndGetAddressOf()) == S_OK);
    return std::u16string(text.View());
}

// The kind of the document reads its body and writes it again. Returns
// false when the kind has no reader or refused the body.
bool ReadAndWrite(IOrvDocument* doc, LONG type, bool vacation, std::u16string* protocol) {
    ComPtr<IUnknown> obj;
    const HRESULT created = vacation ? orv::CreateSpecific<orv::OrvOTDoc>(doc, obj.GetAddressOf())
                                     : orv::CreateSpecificObject(type, doc, obj.GetAddressOf());
    if (FAILED(created) || !obj) return false;
    if (ComPtr<IOrvOTProtocol> protocol; obj.As(&protocol) == S_OK) {
        if (protocol->Load() != S_OK) return false;
        ORV_FUZZ_CHECK(SUCCEEDED(protocol->Save()));
        return true;
    }
    ComPtr<IDispatch> disp;
    if (obj.As(&disp) != S_OK) return false;
    // The average-earnings protocol kinds (30, 92, ...): the Protocol
    // property reads the body into a protocol object; put back, it rewrites
    // the body from it.
    DISPID protocolId = 0;
    if (IdOf(disp.Get(), u"Protocol", &protocolId)) {
        DISPPARAMS none{};
        orv::Variant held;
        if (disp->Invoke(protocolId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &held, nullptr, nullptr) != S_OK) return false;
        if (held.vt != VT_DISPATCH || !held.pdispVal) return false;
        *protocol = TextForm(held.pdispVal);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS args{&held, &named, 1, 1};
        return disp->Invoke(protocolId, IID_NULL, 0, DISPATCH_PROPERTYPUT, &args, nullptr, nullptr, nullptr) == S_OK;
    }
    // The coded-sum lists (138, 346) have no InitFromExtension: the first get
    // of xmlString reads the body, and a put of the list writes it at once.
    DISPID listId = 0, initId = 0;
    if (IdOf(disp.Get(), u"xmlString", &listId) && !IdOf(disp.Get(), u"InitFromExtension", &initId)) {
        DISPPARAMS none{};
        orv::Variant held;
        if (disp->Invoke(listId, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &held, nullptr, nullptr) != S_OK) return false;
        if (held.vt != VT_BSTR) return false;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS args{&held, &named, 1, 1};
        return disp->Invoke(listId, IID_NULL, 0, DISPATCH_PROPERTYPUT, &args, nullptr, nullptr, nullptr) == S_OK;
    }
    if (CallByName(disp.Get(), u"InitFromExtension") != S_OK) return false;
    *protocol = ProtocolText(obj.Get());
    const HRESULT hr = CallByName(disp.Get(), u"UpdateExtension");
    return hr == S_OK;
}

// The kind the type code makes on the document, through its dispatch
// interface, once it has read its body (InitFromExtension); null when there
// is no such kind or it has no reader or refused the body.
ComPtr<IDispatch> KindReadingBody(IOrvDocument* doc, LONG type) {
    ComPtr<IUnknown> obj;
    ComPtr<IDispatch> disp;
    if (FAILED(orv::CreateSpecificObject(type, doc, obj.GetAddressOf())) || !obj || obj.As(&disp) != S_OK ||
        CallByName(disp.Get(), u"InitFromExtension") != S_OK)
        return {};
    return disp;
}

// The list text a host hands to a sum list (AddSumsXml of S1 and S3,
// PutSumsXml of the loan): the kind reads its empty body, merges the text
// and writes the body. Returns false when the kind has no such method or
// refused the text; a text refused as malformed (E_INVALIDARG) must leave
// the list as it was.
bool MergeListText(IOrvDocument* doc, LONG type, const std::u16string& text) {
    ComPtr<IDispatch> disp = KindReadingBody(doc, type);
    if (!disp) return false;
    DISPID addId = 0, getId = 0;
    const bool sumList = IdOf(disp.Get(), u"AddSumsXml", &addId) && IdOf(disp.Get(), u"GetSumsXml", &getId);
    if (!sumList && !(IdOf(disp.Get(), u"PutSumsXml", &addId) && IdOf(disp.Get(), u"GetSumsInXml", &getId)))
        return false;
    auto list = [&] {
        DISPPARAMS none{};
        orv::Variant out;
        ORV_FUZZ_CHECK(disp->Invoke(getId, IID_NULL, 0, DISPATCH_METHOD, &none, &out, nullptr, nullptr) == S_OK);
        ORV_FUZZ_CHECK(out.vt == VT_BSTR);
        return std::u16string(orvfuzz::View(out.bstrVal));
    };
    const std::u16string before = list();
    orv::Variant arg;
    arg.vt = VT_BSTR;
    arg.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    DISPPARAMS args{&arg, nullptr, 1, 0};
    orv::Variant ignored;
    const HRESULT hr = disp->Invoke(addId, IID_NULL, 0, DISPATCH_METHOD, &args, &ignored, nullptr, nullptr);
    if (FAILED(hr)) {
        if (hr == E_INVALIDARG) ORV_FUZZ_CHECK(list() == before);
        return false;
    }
    return CallByName(disp.Get(), u"UpdateExtension") == S_OK;
}

// The kind's text properties (a put of one BSTR), from its type information.
std::vector<DISPID> TextProperties(IDispatch* disp) {
    std::vector<DISPID> ids;
    ComPtr<ITypeInfo> info;
    if (disp->GetTypeInfo(0, 0, info.GetAddressOf()) != S_OK || !info) return ids;
    TYPEATTR* attr = nullptr;
    ORV_FUZZ_CHECK(info->GetTypeAttr(&attr) == S_OK && attr);
    for (UINT i = 0; i < attr->cFuncs; ++i) {
        FUNCDESC* f = nullptr;
        ORV_FUZZ_CHECK(info->GetFuncDesc(i, &f) == S_OK && f);
        if (f->invkind == INVOKE_PROPERTYPUT && f->cParams == 1 && f->lprgelemdescParam[0].tdesc.vt == VT_BSTR)
            ids.push_back(f->memid);
        info->ReleaseFuncDesc(f);
    }
    info->ReleaseTypeAttr(attr);
    return ids;
}

// The values of the text properties of a document's kind after it has read
// its body (InitFromExtension); empty when the kind has none or no reader.
// A property whose get takes arguments of its own (the deposit's address
// by pipe) has no value here.
struct Texts {
    std::vector<DISPID> ids;
    std::vector<std::optional<std::u16string>> values;
    DISPID periods = DISPID_UNKNOWN;  // the job record's periods, kept as read
};

void ReadTexts(IDispatch* disp, Texts* texts) {
    texts->values.clear();
    for (DISPID id : texts->ids) {
        DISPPARAMS none{};
        orv::Variant value;
        if (disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &value, nullptr, nullptr) != S_OK) {
            texts->values.emplace_back();
            continue;
        }
        ORV_FUZZ_CHECK(value.vt == VT_BSTR);
        texts->values.emplace_back(orvfuzz::View(value.bstrVal));
    }
}

// A host text put into every text property of the kind, which then writes
// its body. Returns false when the kind has no text property or no reader,
// or refused the text or the write; on true `texts` holds what the kind
// answers for each property after the puts.
bool PutTexts(IOrvDocument* doc, LONG type, const std::u16string& text, Texts* texts) {
    ComPtr<IDispatch> disp = KindReadingBody(doc, type);
    if (!disp) return false;
    texts->ids = TextProperties(disp.Get());
    if (texts->ids.empty()) return false;
    IdOf(disp.Get(), u"StagFullBeforePeriods", &texts->periods);
    for (DISPID id : texts->ids) {
        orv::Variant arg(text);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS args{&arg, &named, 1, 1};
        if (disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &args, nullptr, nullptr, nullptr) != S_OK) return false;
    }
    ReadTexts(disp.Get(), texts);
    return CallByName(disp.Get(), u"UpdateExtension") == S_OK;
}

// The second document's kind reads the written body and writes it again:
// every text property that comes back from the body (some are kept with the
// object only, the timesheet's memo for one, and read back empty) answers
// what the first one answered after the puts.
Texts TextsComeBack(IOrvDocument* doc, LONG type, const Texts& written) {
    ComPtr<IDispatch> disp = KindReadingBody(doc, type);
    ORV_FUZZ_CHECK(disp);
    Texts read = written;
    ReadTexts(disp.Get(), &read);
    for (std::size_t i = 0; i < written.ids.size(); ++i) {
        ORV_FUZZ_CHECK(read.values[i].has_value() == written.values[i].has_value());
        if (written.ids[i] == written.periods || !read.values[i] || read.values[i]->empty()) continue;
        // The DOM's strings end at a NUL; a text XML does not allow is
        // written with replacement characters.
        std::u16string_view want = *written.values[i];
        want = want.substr(0, want.find(u'\0'));
        if (!orvfuzz::AllAllowed(want)) continue;
        if (*read.values[i] != want) {
            std::fprintf(stderr, "type %ld, property %ld: put and read before the write:\n%s\nread from the body:\n%s\n",
                         static_cast<long>(type), static_cast<long>(written.ids[i]),
                         orv::Utf16ToUtf8(want).c_str(), orv::Utf16ToUtf8(*read.values[i]).c_str());
            ORV_FUZZ_CHECK(*read.values[i] == want);
        }
    }
    ORV_FUZZ_CHECK(CallByName(disp.Get(), u"UpdateExtension") == S_OK);
    return read;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static orvfuzz::HostEnvironment environment;
    Input in(data, size);
    const std::size_t kind = in.Byte() % (std::size(kTypes) + std::size(kVacationTypes));
    const bool vacation = kind >= std::size(kTypes);
    const LONG type = vacation ? kVacationTypes[kind - std::size(kTypes)] : kTypes[kind];
    const std::uint8_t mode = in.Byte();
    const LONG dcdpod = mode & 1;
    const LONG flags = (mode & 2) ? 0x04 : 0;
    const bool listText = (mode & 4) && !vacation;
    const bool hostText = (mode & 8) && !listText && !vacation;
    const std::string_view body = in.Rest();

    ComPtr<IOrvDocument> first = NewDocument(type, dcdpod, flags);
    std::u16string protocolA, protocolB;
    Texts texts;
    bool taken = false;
    if (listText) {
        // Bit 2 of byte 1: the rest is a list text (UTF-8) merged into the
        // kind's empty list, not a body.
        SetBody(first.Get(), {}, 0);
        taken = MergeListText(first.Get(), type, orv::Utf8ToUtf16(body));
    } else if (hostText) {
        // Bit 3: the rest is a host text (UTF-8) put into the kind's text
        // properties.
        SetBody(first.Get(), {}, 0);
        taken = PutTexts(first.Get(), type, orv::Utf8ToUtf16(body), &texts);
    } else {
        SetBody(first.Get(), body, static_cast<LONG>(body.size()));
        taken = ReadAndWrite(first.Get(), type, vacation, &protocolA);
    }
    // ORVFUZZ_TRACE set: one line per input saying whether the kind read and
    // wrote the body (to see which kinds a corpus reaches).
    static const bool trace = std::getenv("ORVFUZZ_TRACE") != nullptr;
    if (trace)
        std::fprintf(stderr, "type %ld%s dcdpod %ld Dfl %ld%s: %s%s\n", static_cast<long>(type),
                     vacation ? " (vacation protocol)" : "", static_cast<long>(dcdpod), static_cast<long>(flags),
                     listText ? " list text" : hostText ? " host text" : "", taken ? "read and written" : "not taken",
                     protocolA.empty() ? "" : ", protocol read");
    if (!taken) return 0;
    if (type == 21 && !protocolA.empty()) {
        // The sick-leave protocol read from the body (an older record or
        // XML) writes a text that a new protocol object takes and writes as
        // the same text.
        ComPtr<IOrvObjAsXmlString> copy;
        ORV_FUZZ_CHECK(CoCreateInstance(CLSID_OrvBLDocProtocol, nullptr, CLSCTX_ALL, IID_IOrvObjAsXmlString,
                                        reinterpret_cast<void**>(copy.GetAddressOf())) == S_OK);
        ORV_FUZZ_CHECK(copy->put_FullString(Bstr(protocolA).Get()) == S_OK);
        const std::u16string again = TextForm(copy.Get());
        if (again != protocolA) {
            std::fprintf(stderr, "protocol read from the body:\n%s\ntaken and written again:\n%s\n",
                         orv::Utf16ToUtf8(protocolA).c_str(), orv::Utf16ToUtf8(again).c_str());
            ORV_FUZZ_CHECK(again == protocolA);
        }
    }
    const Body a = BodyOf(first.Get());
    ORV_FUZZ_CHECK(!HoldsForbiddenReference(a.bytes));

    // What was written reads back to the same body. The second document
    // takes the first one's record as the write left it: a kind may mark
    // there which form its body has (the tax allowances' Version field does).
    ComPtr<IOrvDocument> second = NewDocument(type, dcdpod);
    CopyRecord(first.Get(), second.Get());
    SetBody(second.Get(), a.bytes, a.length);
    if (hostText) {
        // Each text property the written body carries comes back as put. A
        // kind may leave out on its first write what its body cannot carry
        // (white space alone as an element's text, the income certificate's
        // texts without a year), so the bodies are compared from the second
        // write on.
        const Texts again = TextsComeBack(second.Get(), type, texts);
        const Body b = BodyOf(second.Get());
        ComPtr<IOrvDocument> third = NewDocument(type, dcdpod);
        CopyRecord(second.Get(), third.Get());
        SetBody(third.Get(), b.bytes, b.length);
        TextsComeBack(third.Get(), type, again);
        SameBody(type, dcdpod, b, BodyOf(third.Get()));
        return 0;
    }
    ORV_FUZZ_CHECK(ReadAndWrite(second.Get(), type, vacation, &protocolB));
    const Body b = BodyOf(second.Get());
    SameBody(type, dcdpod, a, b);

    // The sick-leave protocol: an older record is not carried into the
    // written body (the write puts an empty protocol there until the host
    // puts one), so the protocol is compared from the second write on.
    if (protocolB.empty()) return 0;
    ComPtr<IOrvDocument> third = NewDocument(type, dcdpod);
    CopyRecord(second.Get(), third.Get());
    SetBody(third.Get(), b.bytes, b.length);
    std::u16string protocolC;
    ORV_FUZZ_CHECK(ReadAndWrite(third.Get(), type, vacation, &protocolC));
    if (protocolB != protocolC) {
        std::fprintf(stderr, "protocol from the first written body:\n%s\nfrom the second:\n%s\n",
                     orv::Utf16ToUtf8(protocolB).c_str(), orv::Utf16ToUtf8(protocolC).c_str());
        ORV_FUZZ_CHECK(protocolB == protocolC);
    }
    return 0;
}
