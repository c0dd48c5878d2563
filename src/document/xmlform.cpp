// The document's XML form: the "ORVDOCUMENT" element with the record in
// hexadecimal, the fields kept beside it, the extension body and the extra
// sums of the collectors.
#include "document/OrvDocument.h"

#include "xml/dom.h"

#include "frame/messages.h"
#include "xml/attributes.h"
#include "xml/hextext.h"

#include <orvdocs/platform/combase.h>
#include <orvdocs/platform/msxml.h>
#include <orvdocs/platform/strings.h>

#include <algorithm>
#include <string>
#include <vector>

namespace orv {
namespace {

constexpr const OLECHAR* kDocument = u"ORVDOCUMENT";
constexpr const OLECHAR* kRecord = u"DOCRECORD";
constexpr const OLECHAR* kAddress = u"DBK";
constexpr const OLECHAR* kRecalculation = u"RCLDATE";
constexpr const OLECHAR* kCondition = u"CONDITION";
constexpr const OLECHAR* kTimeStamp = u"TIMESTAMP";
constexpr const OLECHAR* kAccess = u"AT";
constexpr const OLECHAR* kExtension = u"DOCEXTENSION";
constexpr const OLECHAR* kLength = u"LEN";
constexpr const OLECHAR* kBody = u"BODY";
constexpr const OLECHAR* kExtraSums = u"EXTRASUMS";
constexpr const OLECHAR* kSums = u"SMS";
constexpr const OLECHAR* kSumsPath = u"EXTRASUMS/SMS";
constexpr const OLECHAR* kId = u"ID";

constexpr std::size_t kRecordHexLength = 2 * DocRecord::kSize;

ComPtr<IXMLDOMElement> AsElement(IUnknown* node) {
    if (!node) throw ComError{E_POINTER, IID_IXMLDOMElement};
    ComPtr<IXMLDOMElement> element;
    Check(node->QueryInterface(IID_IXMLDOMElement, reinterpret_cast<void**>(element.GetAddressOf())),
          IID_IXMLDOMElement);
    return element;
}

// A new element of the root's document, appended to parent.
ComPtr<IXMLDOMElement> AppendElement(IXMLDOMDocument* owner, IXMLDOMNode* parent, const OLECHAR* name) {
    ComPtr<IXMLDOMElement> element;
    Check(owner->createElement(Bstr(name), element.GetAddressOf()), IID_IXMLDOMDocument);
    if (!element) throw ComError{E_POINTER, IID_IXMLDOMDocument};
    ComPtr<IXMLDOMNode> appended;
    Check(parent->appendChild(element.Get(), appended.GetAddressOf()), IID_IXMLDOMNode);
    return element;
}

std::u16string Hex(const void* data, std::size_t size) {
    std::u16string text(2 * size, u'0');
    EncodeHex(data, size, text.data());
    return text;
}

}  // namespace

HRESULT OrvDocument::ParseIn(IUnknown* spRoot, LONG) {
    if (!spRoot) return E_POINTER;
    return Locked([&] {
        ComPtr<IXMLDOMElement> root = AsElement(spRoot);
        Check(SetAttribute(root.Get(), kRecord, Hex(record_.Data(), DocRecord::kSize)), IID_IXMLDOMElement);
        Check(SetAttribute(root.Get(), kAddress, static_cast<LONG>(dbAddr_)), IID_IXMLDOMElement);
        if (recalculationDate_ != 0.0)
            Check(SetAttribute(root.Get(), kRecalculation, recalculationDate_), IID_IXMLDOMElement);
        Check(SetAttribute(root.Get(), kCondition, recordCondition_), IID_IXMLDOMElement);
        Check(SetAttribute(root.Get(), kTimeStamp, static_cast<LONG>(timeStamp_)), IID_IXMLDOMElement);
        if (at_ != 0) Check(SetAttribute(root.Get(), kAccess, at_), IID_IXMLDOMElement);

        ComPtr<IXMLDOMDocument> owner;
        auto ownerDocument = [&] {
            if (!owner) {
                Check(root->get_ownerDocument(owner.GetAddressOf()), IID_IXMLDOMElement);
                if (!owner) throw ComError{E_POINTER, IID_IXMLDOMElement};
            }
            return owner.Get();
        };

        ComPtr<IOrvDocExtension> extension = Extension();
        LONG length = 0;
        Check(extension->get_Length(&length), IID_IOrvDocExtension);
        if (length >= 1) {
            Bstr body;
            Check(extension->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
            // The first Length bytes, as far as the body has them.
            std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(length), body.ByteLength());
            ComPtr<IXMLDOMElement> element = AppendElement(ownerDocument(), root.Get(), kExtension);
            Check(SetAttribute(element.Get(), kLength, length), IID_IXMLDOMElement);
            Check(SetAttribute(element.Get(), kBody, Hex(body.Get(), bytes)), IID_IXMLDOMElement);
        }

        if (!collectors_.empty()) {
            ComPtr<IXMLDOMElement> sums = AppendElement(ownerDocument(), root.Get(), kExtraSums);
            for (const auto& [id, collector] : collectors_) {
                ComPtr<IOrvObjAsXmlString> form;
                if (!collector) throw ComError{E_POINTER, IID_IOrvObjAsXmlString};
                Check(collector.As(&form), IID_IOrvObjAsXmlString);
                ComPtr<IXMLDOMElement> element = AppendElement(ownerDocument(), sums.Get(), kSums);
                Check(SetAttribute(element.Get(), kId, id), IID_IXMLDOMElement);
                Check(form->ParseIn(element.Get(), 0), IID_IOrvObjAsXmlString);
            }
        }
        return S_OK;
    });
}

HRESULT OrvDocument::ParseFrom(IUnknown* pRoot, LONG) {
    if (!pRoot) return E_POINTER;
    CollectorMap removed;  // the collectors replaced, released after the lock
    return Locked([&] {
        ComPtr<IXMLDOMElement> root = AsElement(pRoot);

        // Everything is read before anything changes, so a text that is
        // refused or a failure on the way (out of memory) leaves the document
        // as it was.
        // The record must be there whole: another length leaves the document
        // as it was.
        Bstr recordText;
        Check(GetAttributeText(root.Get(), kRecord, recordText.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
        if (recordText.Length() != kRecordHexLength) return E_INVALIDARG;
        DocRecord record;
        DecodeDocumentHex(recordText.View(), record.Data(), DocRecord::kSize);
        LONG address = 0, condition = 0, stamp = 0, access = 0;
        double recalculation = 0.0;
        Check(GetAttributeLong(root.Get(), kAddress, &address), IID_IXMLDOMElement);
        Check(GetAttributeDouble(root.Get(), kRecalculation, &recalculation), IID_IXMLDOMElement);
        Check(GetAttributeLong(root.Get(), kTimeStamp, &stamp), IID_IXMLDOMElement);
        Check(GetAttributeLong(root.Get(), kCondition, &condition), IID_IXMLDOMElement);
        Check(GetAttributeLong(root.Get(), kAccess, &access), IID_IXMLDOMElement);

        // The extension: left alone (no element), cleared (Length below 1) or
        // given the body read.
        enum class BodyChange { None, Clear, Set } bodyChange = BodyChange::None;
        Bstr bodyString;
        LONG length = 0;
        ComPtr<IXMLDOMNode> extensionNode;
        Check(root->selectSingleNode(Bstr(kExtension), extensionNode.GetAddressOf()), IID_IXMLDOMElement);
        if (extensionNode) {
            ComPtr<IXMLDOMElement> element = AsElement(extensionNode.Get());
            Check(GetAttributeLong(element.Get(), kLength, &length), IID_IXMLDOMElement);
            if (length < 1) {
                bodyChange = BodyChange::Clear;
            } else {
                Bstr bodyText;
                Check(GetAttributeText(element.Get(), kBody, bodyText.ReleaseAndGetAddressOf()), IID_IXMLDOMElement);
                // At most Length bytes; a shorter text gives the bytes it holds
                // and Length stays as written.
                std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(length), bodyText.Length() / 2);
                std::vector<unsigned char> body(bytes);
                DecodeDocumentHex(bodyText.View(), body.data(), bytes);
                bodyString =
                    Bstr::Attach(SysAllocStringByteLen(reinterpret_cast<const char*>(body.data()), static_cast<UINT>(bytes)));
                if (!bodyString) throw std::bad_alloc();
                bodyChange = BodyChange::Set;
            }
        }

        CollectorMap collectors;
        ComPtr<IXMLDOMNodeList> nodes;
        Check(root->selectNodes(Bstr(kSumsPath), nodes.GetAddressOf()), IID_IXMLDOMElement);
        LONG count = 0;
        if (nodes) Check(nodes->get_length(&count), IID_IXMLDOMNodeList);
        for (LONG i = 0; i < count; ++i) {
            ComPtr<IXMLDOMNode> node;
            Check(nodes->get_item(i, node.GetAddressOf()), IID_IXMLDOMNodeList);
            ComPtr<IXMLDOMElement> element = AsElement(node.Get());
            LONG id = 0;
            Check(GetAttributeLong(element.Get(), kId, &id), IID_IXMLDOMElement);
            ComPtr<IOrvObjAsXmlString> collector;
            Check(CoCreateInstance(CLSID_OrvSumCollector, nullptr, CLSCTX_ALL, IID_IOrvObjAsXmlString,
                                   reinterpret_cast<void**>(collector.GetAddressOf())),
                  IID_IOrvSumCollector);
            Check(collector->ParseFrom(node.Get(), 0), IID_IOrvObjAsXmlString);
            ComPtr<IUnknown> identity;
            Check(collector.As(&identity), IID_IOrvObjAsXmlString);
            collectors.emplace(id, identity);  // the first one of an identifier stays
        }

        // The changes. Only the body's copy can fail, and it comes first.
        if (bodyChange != BodyChange::None) {
            ComPtr<IOrvDocExtension> extension = Extension();
            if (bodyChange == BodyChange::Set) {
                Check(extension->put_Body(bodyString), IID_IOrvDocExtension);
                Check(extension->put_Length(length), IID_IOrvDocExtension);
            } else {
                Check(extension->Clear(), IID_IOrvDocExtension);
            }
        }
        record_ = record;
        dbAddr_ = static_cast<ULONG>(address);
        recalculationDate_ = recalculation;
        timeStamp_ = static_cast<ULONG>(stamp);
        recordCondition_ = condition;
        at_ = access;
        extensionInitialized_ = bodyChange == BodyChange::Set ? VARIANT_TRUE : VARIANT_FALSE;
        removed.swap(collectors_);
        collectors_.swap(collectors);
        position_ = collectors_.end();
        return S_OK;
    });
}

HRESULT OrvDocument::get_FullString(BSTR* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = nullptr;
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvDocument, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        ComPtr<IXMLDOMElement> element = AppendElement(dom.Get(), dom.Get(), kDocument);
        HRESULT parsed = ParseIn(element.Get(), 0);
        if (FAILED(parsed)) return parsed;
        Check(dom->get_xml(pVal), IID_IXMLDOMDocument);
        return S_OK;
    });
}

HRESULT OrvDocument::put_FullString(BSTR newVal) {
    ComPtr<IXMLDOMDocument> dom;
    HRESULT hr = xml::CreateXmlDocument(CLSID_OrvDocument, &dom);
    if (FAILED(hr)) return hr;
    return Guarded([&] {
        // A text that does not parse leaves no element: ParseFrom then refuses
        // a null root with E_POINTER.
        VARIANT_BOOL loaded = VARIANT_FALSE;
        const HRESULT load = dom->loadXML(newVal, &loaded);
        if (FAILED(load)) return load;  // out of memory, not a text that does not parse
        ComPtr<IXMLDOMNode> node;
        Check(dom->selectSingleNode(Bstr(kDocument), node.GetAddressOf()), IID_IXMLDOMDocument);
        return ParseFrom(node.Get(), 0);
    });
}

HRESULT OrvDocument::get_ShortString(BSTR* pVal) {
    if (pVal) *pVal = nullptr;
    return E_NOTIMPL;
}

HRESULT OrvDocument::put_ShortString(BSTR) { return E_NOTIMPL; }

}  // namespace orv
