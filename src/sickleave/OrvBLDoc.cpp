#include "sickleave/OrvBLDoc.h"

#include "xml/dom.h"

#include "frame/values.h"
#include "kinds/ExtensionFields.h"
#include "sickleave/AccessType.h"
#include "sickleave/OrvBLDocProtocol.h"
#include "xml/lenient.h"

#include <orvdocs/frame/outside.h>
#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/strings.h>

#include <cstdint>

namespace orv {
namespace {

constexpr const OLECHAR* kExt = u"EXT";
constexpr const OLECHAR* kProtocolRoot = u"BLPR5";
constexpr const OLECHAR* kYears = u"YEARS";
constexpr const OLECHAR* kRelativeName = u"RLNAME";
constexpr const OLECHAR* kRelativeBirthDay = u"RLBDAY";
constexpr const OLECHAR* kRelativeBirthYear = u"RLBYEAR";
constexpr const OLECHAR* kMedicalInstitution = u"MEDINST";
constexpr const OLECHAR* kDoctor = u"DOCFIO";

std::u16string_view TextOf(BSTR text) {
    return text ? std::u16string_view(text, SysStringLen(text)) : std::u16string_view();
}

ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* context, const OLECHAR* path) {
    ComPtr<IXMLDOMNode> node;
    if (Check(context->selectSingleNode(Bstr(path), node.GetAddressOf()), IID_IXMLDOMNode) != S_OK) return {};
    return node;
}

std::u16string ElementText(IXMLDOMElement* parent, const OLECHAR* name) {
    ComPtr<IXMLDOMElement> element = ext::ChildElement(parent, name);
    if (!element) return {};
    Bstr text;
    Check(element->get_text(text.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
    return std::u16string(text.View());
}

// A child element of parent whose text is the variant's text form.
void AppendValue(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name, VARIANT& value) {
    Variant text;
    Check(VariantChangeType(&text, &value, 0, VT_BSTR), IID_NULL);
    ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, parent, name);
    Check(element->put_text(text.bstrVal), IID_IXMLDOMElement);
}

void AppendText(IXMLDOMDocument* xml, IXMLDOMElement* parent, const OLECHAR* name, const std::u16string& text) {
    if (text.empty()) return;
    ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, parent, name);
    Check(element->put_text(Bstr(text)), IID_IXMLDOMElement);
}

// Puts an XML text into the extension: the text (UTF-16) as the body and its
// length in characters as Length. The sick-leave document has always kept the
// character count here (unlike the kinds that keep bytes); stored documents and
// the programs reading them rely on it, so it stays.
void WriteXmlBody(IOrvDocExtension* extension, BSTR text) {
    Check(extension->put_Body(text), IID_IOrvDocExtension);
    Check(extension->put_Length(static_cast<LONG>(SysStringLen(text))), IID_IOrvDocExtension);
}

}  // namespace

// Runs while the document that creates this object holds its own lock, before
// the object is handed out: no other thread can reach it yet, so it takes no
// lock of its own. Taking it here would order this object's lock after the
// document's, against every later member that holds this lock and calls the
// document.
HRESULT OrvBLDoc::DocumentAttached() {
    return Guarded([&] {
        IOrvDocument* document = Document();
        VARIANT_BOOL connected = VARIANT_FALSE;
        Check(document->get_IsConnectedToDB(&connected), IID_IOrvDocument);
        if (!connected) return S_OK;
        ComPtr<IUnknown> service;
        Check(document->get_OrvBD(service.GetAddressOf()), IID_IOrvDocument);
        accessType_ = AccessTypeFromDatabase(service.Get());
        return S_OK;
    });
}

LONG OrvBLDoc::AccessType() noexcept {
    auto lock = Lock();
    return accessType_;
}

// ------------------------------------------------------------ the flag word

LONG OrvBLDoc::ReadFlags() {
    CY value{};
    Check(Document()->get_Dcms(1, &value), IID_IOrvDocument);
    // Hundredths, halves away from zero: (raw +- 50) / 100 without overflow.
    LONGLONG hundredths = value.int64 / 100;
    const LONGLONG rest = value.int64 % 100;
    if (rest >= 50) ++hundredths;
    if (rest <= -50) --hundredths;
    return static_cast<LONG>(static_cast<std::uint32_t>(static_cast<unsigned long long>(hundredths)));
}

void OrvBLDoc::WriteFlags(LONG word) {
    Check(Document()->put_Dcms(1, MakeCurrency(static_cast<LONGLONG>(word) * 100)), IID_IOrvDocument);
}

HRESULT OrvBLDoc::GetFlag(LONG mask, VARIANT_BOOL on, VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        *pVal = (ReadFlags() & mask) != 0 ? on : VARIANT_BOOL(0);
        return S_OK;
    });
}

HRESULT OrvBLDoc::PutFlag(LONG mask, VARIANT_BOOL newVal) {
    return Locked([&] {
        LONG word = ReadFlags();
        word = newVal ? (word | mask) : (word & ~mask);
        WriteFlags(word);
        return S_OK;
    });
}

HRESULT OrvBLDoc::get_CalDaysBased(VARIANT_BOOL* pVal) { return GetFlag(kCalDaysBased, VARIANT_TRUE, pVal); }
HRESULT OrvBLDoc::put_CalDaysBased(VARIANT_BOOL newVal) { return PutFlag(kCalDaysBased, newVal); }

HRESULT OrvBLDoc::get_HoursBased(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        const LONG word = ReadFlags();
        *pVal = (word & kHoursBasedOne) ? 1 : (word & kHoursBasedZero) ? 0 : 2;
        return S_OK;
    });
}

HRESULT OrvBLDoc::put_HoursBased(LONG newVal) {
    return Locked([&] {
        LONG word = ReadFlags() & ~(kHoursBasedOne | kHoursBasedZero);
        if (newVal == 0) word |= kHoursBasedZero;
        if (newVal == 1) word |= kHoursBasedOne;
        WriteFlags(word);
        return S_OK;
    });
}

void OrvBLDoc::MarkXmlBased() {
    IOrvDocument* document = Document();
    const LONG word = ReadFlags() | kXmlBasedProtocol;
    WriteFlags(word);
    // The same word into the other access type's view of the record, then
    // the document's access type back as it was.
    LONG access = 0;
    Check(document->get_AT(&access), IID_IOrvDocument);
    Check(document->put_AT(access == 0 ? 1 : 0), IID_IOrvDocument);
    try {
        WriteFlags(word);
    } catch (...) {
        document->put_AT(access);
        throw;
    }
    Check(document->put_AT(access), IID_IOrvDocument);
}

HRESULT OrvBLDoc::put_xmlBasedProtocol(VARIANT_BOOL newVal) {
    return Locked([&] {
        if (newVal)
            MarkXmlBased();
        else
            WriteFlags(ReadFlags() & ~kXmlBasedProtocol);
        return S_OK;
    });
}

HRESULT OrvBLDoc::get_StartOfBulleten(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        LONG flags = 0;
        Check(Document()->get_Dfl(&flags), IID_IOrvDocument);
        *pVal = (flags & kContinuation) ? VARIANT_BOOL(0) : VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT OrvBLDoc::put_StartOfBulleten(VARIANT_BOOL newVal) {
    return Locked([&] {
        IOrvDocument* document = Document();
        LONG flags = 0;
        Check(document->get_Dfl(&flags), IID_IOrvDocument);
        flags = newVal ? (flags & ~kContinuation) : (flags | kContinuation);
        Check(document->put_Dfl(flags), IID_IOrvDocument);
        return S_OK;
    });
}

// ------------------------------------------------------------- plain fields

HRESULT OrvBLDoc::GetText(const std::u16string& field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    auto lock = Lock();
    if (field.empty()) return S_OK;
    *pVal = SysAllocStringLen(field.data(), static_cast<UINT>(field.size()));
    return *pVal ? S_OK : E_OUTOFMEMORY;
}

HRESULT OrvBLDoc::PutText(std::u16string& field, BSTR newVal) {
    return Locked([&] {
        field = TextOf(newVal);
        return S_OK;
    });
}

HRESULT OrvBLDoc::get_IsInitialized(VARIANT_BOOL* pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = initialized_;
    return S_OK;
}

HRESULT OrvBLDoc::put_IsInitialized(VARIANT_BOOL newVal) {
    auto lock = Lock();
    initialized_ = newVal;
    return S_OK;
}

HRESULT OrvBLDoc::get_RelativeBirthDay(DATE* pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = relativeBirthDay_;
    return S_OK;
}

HRESULT OrvBLDoc::put_RelativeBirthDay(DATE newVal) {
    auto lock = Lock();
    relativeBirthDay_ = newVal;
    return S_OK;
}

HRESULT OrvBLDoc::get_RelativeBirthYear(LONG* pVal) {
    if (!pVal) return E_POINTER;
    auto lock = Lock();
    *pVal = relativeBirthYear_;
    return S_OK;
}

HRESULT OrvBLDoc::put_RelativeBirthYear(LONG newVal) {
    auto lock = Lock();
    relativeBirthYear_ = newVal;
    return S_OK;
}

// ---------------------------------------------------------------- extension

ComPtr<IOrvDocExtension> OrvBLDoc::Extension() {
    ComPtr<IOrvDocExtension> extension;
    Check(Document()->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(extension.GetAddressOf())),
          IID_IOrvDocExtension);
    if (!extension) throw ComError{E_POINTER, IID_IOrvDocExtension};
    return extension;
}

bool OrvBLDoc::IsXmlBody(BSTR body) {
    if (ReadFlags() & kXmlBasedProtocol) return true;
    const std::u16string_view text = TextOf(body);
    return text.size() > 5 && text.find(u"<EXT>") != std::u16string_view::npos;
}

HRESULT OrvBLDoc::InitFromExtension() {
    return Locked([&] {
        ComPtr<IOrvDocExtension> extension = Extension();
        LONG length = 0;
        Check(extension->get_Length(&length), IID_IOrvDocExtension);
        Bstr body;
        Check(extension->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
        if (!body.Empty() && IsXmlBody(body)) {
            // Loaded aside: a body that does not parse leaves the texts, the
            // protocol element and the kept document as they were.
            ComPtr<IXMLDOMDocument> loaded = orv::xml::NewXmlDocument();
            VARIANT_BOOL ok = VARIANT_FALSE;
            Check(loaded->loadXML(body, &ok), IID_IXMLDOMDocument);
            if (ok == VARIANT_TRUE) {
                ComPtr<IXMLDOMNode> protocol = SelectNode(loaded.Get(), u"EXT/BLPR5");
                if (!protocol) protocol = SelectNode(loaded.Get(), kProtocolRoot);
                ComPtr<IXMLDOMNode> extNode = SelectNode(loaded.Get(), kExt);
                ComPtr<IXMLDOMElement> root;
                if (extNode) Check(extNode.As(&root), IID_IXMLDOMNode);
                if (root) {
                    std::u16string years = ElementText(root.Get(), kYears);
                    std::u16string name = ElementText(root.Get(), kRelativeName);
                    const double birthDay = ReadDoubleLenient(ElementText(root.Get(), kRelativeBirthDay));
                    const LONG birthYear = ReadLongLenient(ElementText(root.Get(), kRelativeBirthYear));
                    std::u16string institution = ElementText(root.Get(), kMedicalInstitution);
                    std::u16string doctor = ElementText(root.Get(), kDoctor);
                    yearsForAverage_ = std::move(years);
                    relativeName_ = std::move(name);
                    relativeBirthDay_ = birthDay;
                    relativeBirthYear_ = birthYear;
                    medicalInstitution_ = std::move(institution);
                    doctorFio_ = std::move(doctor);
                }
                protocolElement_ = std::move(protocol);
                xml_ = std::move(loaded);
            }
        }
        initialized_ = VARIANT_TRUE;
        return S_OK;
    });
}

HRESULT OrvBLDoc::UpdateExtension() {
    return Locked([&] {
        ComPtr<IOrvDocExtension> extension = Extension();
        if (!xml_) {
            xml_ = orv::xml::NewXmlDocument();
        } else {
            VARIANT_BOOL ok = VARIANT_FALSE;
            xml_->loadXML(Bstr(u""), &ok);  // empties the document
        }
        ComPtr<IXMLDOMElement> root;
        Check(xml_->createElement(Bstr(kExt), root.GetAddressOf()), IID_IXMLDOMDocument);
        ComPtr<IXMLDOMNode> added;
        Check(xml_->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);

        AppendText(xml_.Get(), root.Get(), kYears, yearsForAverage_);
        AppendText(xml_.Get(), root.Get(), kRelativeName, relativeName_);
        if (relativeBirthDay_ != 0.0) {
            Variant day;
            day.vt = VT_R8;
            day.dblVal = relativeBirthDay_;
            AppendValue(xml_.Get(), root.Get(), kRelativeBirthDay, day);
        }
        if (relativeBirthYear_ != 0) {
            Variant year;
            year.vt = VT_I4;
            year.lVal = relativeBirthYear_;
            AppendValue(xml_.Get(), root.Get(), kRelativeBirthYear, year);
        }
        AppendText(xml_.Get(), root.Get(), kMedicalInstitution, medicalInstitution_);
        AppendText(xml_.Get(), root.Get(), kDoctor, doctorFio_);

        if (protocolElement_) {
            ComPtr<IXMLDOMNode> appended;
            Check(root->appendChild(protocolElement_.Get(), appended.GetAddressOf()), IID_IXMLDOMElement);
        } else {
            ext::AppendElement(xml_.Get(), root.Get(), kProtocolRoot);
        }

        Bstr text;
        Check(xml_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMDocument);
        if (text.Empty())
            Check(extension->Clear(), IID_IOrvDocExtension);
        else
            WriteXmlBody(extension.Get(), text);
        return S_OK;
    });
}

// ----------------------------------------------------------------- protocol

HRESULT OrvBLDoc::get_BlProtocol(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        ComPtr<IOrvDocExtension> extension = Extension();
        LONG length = 0;
        Check(extension->get_Length(&length), IID_IOrvDocExtension);
        Bstr body;
        Check(extension->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
        if (body.ByteLength() == 0) return S_OK;  // no protocol

        ComPtr<IUnknown> unknown;
        OrvBLDocProtocol* protocol = nullptr;
        Check(CreateObjectWithAccess<OrvBLDocProtocol>(&unknown, &protocol), IID_IOrvBLDocProtocol);
        protocol->SetAccess(accessType_);
        HRESULT hr = S_OK;
        if (IsXmlBody(body)) {
            ComPtr<IXMLDOMDocument> scratch = orv::xml::NewXmlDocument();
            if (protocolElement_) {
                Bstr text;
                Check(protocolElement_->get_xml(text.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
                hr = protocol->ParseText(scratch.Get(), text.View());
                if (SUCCEEDED(hr)) protocol->SetElement(protocolElement_.Get());
            } else {
                hr = protocol->ParseText(scratch.Get(), body.View());
            }
        } else {
            hr = protocol->FillFromLegacyRecord(reinterpret_cast<const unsigned char*>(body.Get()), body.ByteLength());
        }
        // A body that is neither XML nor a whole legacy record gives no protocol.
        if (FAILED(hr)) throw ComError{hr, IID_IOrvBLDoc};
        *pVal = unknown.Detach();
        return S_OK;
    });
}

HRESULT OrvBLDoc::put_BlProtocol(IUnknown* newVal) {
    return Locked([&] {
        ComPtr<IOrvBLDocProtocol> protocol;
        if (!newVal ||
            FAILED(newVal->QueryInterface(IID_IOrvBLDocProtocol, reinterpret_cast<void**>(protocol.GetAddressOf()))) ||
            !protocol)
            throw ComError{E_POINTER, IID_IOrvBLDocProtocol};
        ComPtr<IUnknown> element;
        Check(protocol->get_xmlProtocol(element.GetAddressOf()), IID_IOrvBLDocProtocol);
        ComPtr<IXMLDOMNode> node;
        if (element && SUCCEEDED(element.As(&node)) && node) {
            protocolElement_ = std::move(node);  // written by the next UpdateExtension
            return S_OK;
        }
        // A protocol without an element: its text becomes the body, a bare
        // "BLPR5" document.
        ComPtr<IOrvObjAsXmlString> form;
        Check(protocol.As(&form), IID_IOrvObjAsXmlString);
        ComPtr<IOrvDocExtension> extension = Extension();
        MarkXmlBased();
        Bstr text;
        Check(form->get_FullString(text.ReleaseAndGetAddressOf()), IID_IOrvObjAsXmlString);
        WriteXmlBody(extension.Get(), text);
        return S_OK;
    });
}

}  // namespace orv
