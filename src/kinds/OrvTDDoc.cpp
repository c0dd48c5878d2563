#include "kinds/OrvTDDoc.h"

#include "xml/dom.h"

#include "kinds/AverageProtocol.h"
#include "kinds/ExtensionFields.h"
#include "vacation/OrvOTDoc.h"
#include "xml/attributes.h"

#include <variant>

namespace orv {

namespace {

using Field = std::variant<std::u16string ContractTerms::*, LONG ContractTerms::*, double ContractTerms::*,
                           CY ContractTerms::*>;
struct Attribute {
    const OLECHAR* name;
    Field field;
};

// The attributes of "TDDOCEX", in the order they are written.
const Attribute kAttributes[] = {
    {u"CART", &ContractTerms::carType},
    {u"DB", &ContractTerms::dinnerBreak},
    {u"STA", &ContractTerms::dayStart},
    {u"STP", &ContractTerms::dayEnd},
    {u"DLN", &ContractTerms::length},
    {u"MEMO", &ContractTerms::memo},
    {u"DOD2", &ContractTerms::extraDays2},
    {u"DOD2RSN", &ContractTerms::extraDays2Reason},
    {u"DSVR", &ContractTerms::daysSeverancePay},
    {u"DNCMP", &ContractTerms::daysNotCompensation},
    {u"DCMP", &ContractTerms::daysCompensation},
    {u"AVESVR", &ContractTerms::aveSeverancePay},
    {u"AVENCMP", &ContractTerms::aveNotCompensation},
    {u"AVECMP", &ContractTerms::aveCompensation},
    {u"VIPCMP", &ContractTerms::vipCompensation},
    {u"JOBPOS", &ContractTerms::jobPositionId},
    {u"PREVDKS", &ContractTerms::previousDks},
    {u"NOTE", &ContractTerms::note},
    {u"VIPTP", &ContractTerms::vipPosobieType},
};

struct Reader {
    IXMLDOMElement* root;
    const OLECHAR* name;
    ContractTerms& terms;
    void operator()(std::u16string ContractTerms::*f) const { terms.*f = ext::ReadText(root, name); }
    void operator()(LONG ContractTerms::*f) const { terms.*f = ext::ReadLong(root, name); }
    void operator()(double ContractTerms::*f) const { terms.*f = ext::ReadDouble(root, name); }
    void operator()(CY ContractTerms::*f) const {
        Check(GetAttributeCurrency(root, name, &(terms.*f)), IID_IXMLDOMElement);
    }
};

// Writes a field that is not empty or 0.
struct Writer {
    IXMLDOMElement* root;
    const OLECHAR* name;
    const ContractTerms& terms;
    void operator()(std::u16string ContractTerms::*f) const {
        if (!(terms.*f).empty()) ext::WriteText(root, name, terms.*f);
    }
    void operator()(LONG ContractTerms::*f) const {
        if (terms.*f != 0) ext::WriteLong(root, name, terms.*f);
    }
    void operator()(double ContractTerms::*f) const {
        if (terms.*f != 0.0) ext::WriteDouble(root, name, terms.*f);
    }
    void operator()(CY ContractTerms::*f) const {
        if ((terms.*f).int64 != 0) Check(SetAttribute(root, name, terms.*f), IID_IXMLDOMElement);
    }
};

ComPtr<IXMLDOMNode> Select(IXMLDOMDocument* xml, const char16_t* path) {
    ComPtr<IXMLDOMNode> node;
    if (Check(xml->selectSingleNode(Bstr(path), node.GetAddressOf()), IID_IXMLDOMDocument) != S_OK) return {};
    return node;
}

}  // namespace

void OrvTDDoc::Decode(IXMLDOMElement* root) {
    ContractTerms read;
    for (const Attribute& a : kAttributes) std::visit(Reader{root, a.name, read}, a.field);
    terms_ = std::move(read);
}

void OrvTDDoc::Encode(IXMLDOMDocument*, IXMLDOMElement* root) {
    for (const Attribute& a : kAttributes) std::visit(Writer{root, a.name, terms_}, a.field);
}

HRESULT OrvTDDoc::UpdateExtension() {
    return Locked([&] {
        // The protocols kept with the contract survive the new tree.
        Bstr kept;
        if (xml_) {
            if (ComPtr<IXMLDOMNode> node = Select(xml_.Get(), u"TDDOCEX/MAINPROT"))
                Check(node->get_xml(kept.ReleaseAndGetAddressOf()), IID_IXMLDOMNode);
        }
        ComPtr<IXMLDOMElement> root = detail::StartExtension(Document(), &xml_, kRoot);
        if (!root) return S_OK;
        if (!kept.Empty()) avgprot::AppendText(root.Get(), kept.View(), avgprot::Nodes::First);
        Encode(xml_.Get(), root.Get());
        detail::FinishExtension(Document(), xml_.Get());
        return S_OK;
    });
}

HRESULT OrvTDDoc::Get(std::u16string ContractTerms::*field, BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] { return ext::CopyText(terms_.*field, pVal); });
}

HRESULT OrvTDDoc::Put(std::u16string ContractTerms::*field, BSTR value) {
    return Locked([&] {
        terms_.*field = ext::TextOf(value);
        return S_OK;
    });
}

HRESULT OrvTDDoc::get_OverTimeFrequency(LONG* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = 0;
    return Locked([&] {
        SHORT v = 0;
        Check(Document()->get_dcShort(1, &v), IID_IOrvDocument);
        *pVal = v;
        return S_OK;
    });
}

HRESULT OrvTDDoc::put_OverTimeFrequency(LONG newVal) {
    return Locked([&] {
        Check(Document()->put_dcShort(1, static_cast<SHORT>(static_cast<uint16_t>(newVal & 0xFFFF))),
              IID_IOrvDocument);
        return S_OK;
    });
}

HRESULT OrvTDDoc::get_OtProtocol(IUnknown** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!vacation_) Check(CreateSpecific<OrvOTDoc>(Document(), vacation_.ReleaseAndGetAddressOf()), IID_IOrvTDDoc);
        return vacation_.CopyTo(pVal);
    });
}

HRESULT OrvTDDoc::get_ResignPosobie(IDispatch** pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    return Locked([&] {
        if (!initialized_) Check(InitFromExtension(), IID_IOrvTDDoc);
        if (!xml_) throw ComError{E_POINTER, IID_IXMLDOMDocument};
        ComPtr<IXMLDOMNode> context;
        Check(xml_.As(&context), IID_IXMLDOMDocument);
        Bstr text = avgprot::NodeText(context.Get(), u"TDDOCEX/MAINPROT/BLPR5");
        LONG accessType = 0;
        Check(Document()->get_AT(&accessType), IID_IOrvDocument);
        *pVal = avgprot::NewProtocol(accessType, text.View()).Detach();
        return S_OK;
    });
}

HRESULT OrvTDDoc::put_ResignPosobie(IDispatch* newVal) {
    // The lock is held across the nested InitFromExtension and UpdateExtension
    // (it is re-entrant), so no other caller sees the tree half-replaced.
    return Locked([&] {
        if (!initialized_) Check(InitFromExtension(), IID_IOrvTDDoc);
        LONG type = 0;
        Check(Document()->get_lDcType(&type), IID_IOrvDocument);
        // The protocol's text is taken before the tree changes.
        Bstr text;
        if (!avgprot::TakeText(newVal, type, &text)) return E_INVALIDARG;

        if (!xml_) xml_ = orv::xml::NewXmlDocument();
        ComPtr<IXMLDOMElement> root;
        if (ComPtr<IXMLDOMNode> node = Select(xml_.Get(), kRoot)) {
            Check(node.As(&root), IID_IXMLDOMNode);
        } else {
            VARIANT_BOOL ok = VARIANT_FALSE;
            xml_->loadXML(Bstr(u""), &ok);  // a body of another kind gives way
            Check(xml_->createElement(Bstr(kRoot), root.GetAddressOf()), IID_IXMLDOMDocument);
            ComPtr<IXMLDOMNode> added;
            Check(xml_->appendChild(root.Get(), added.GetAddressOf()), IID_IXMLDOMDocument);
        }
        ComPtr<IXMLDOMElement> mainprot = ext::ChildElement(root.Get(), u"MAINPROT");
        if (!mainprot) mainprot = ext::AppendElement(xml_.Get(), root.Get(), u"MAINPROT");
        while (ComPtr<IXMLDOMElement> old = ext::ChildElement(mainprot.Get(), u"BLPR5")) {
            ComPtr<IXMLDOMNode> removed;
            Check(mainprot->removeChild(old.Get(), removed.GetAddressOf()), IID_IXMLDOMElement);
        }
        if (!text.Empty()) avgprot::AppendText(mainprot.Get(), text.View(), avgprot::Nodes::All);
        Check(UpdateExtension(), IID_IOrvTDDoc);
        return S_OK;
    });
}

HRESULT OrvTDDoc::GetAllProtocols(BSTR* pXml) {
    if (!pXml) return E_POINTER;
    *pXml = nullptr;
    return Locked([&] {
        if (!initialized_) Check(InitFromExtension(), IID_IOrvTDDoc);
        if (!xml_) return S_OK;
        ComPtr<IXMLDOMNode> context;
        Check(xml_.As(&context), IID_IXMLDOMDocument);
        Bstr text = avgprot::NodeText(context.Get(), u"TDDOCEX/MAINPROT");
        if (!text.Empty()) *pXml = text.Detach();
        return S_OK;
    });
}

}  // namespace orv
