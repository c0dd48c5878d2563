// The frame every specific document kind shares.
//
// A specific object is a typed view of one kind of generic document. The
// document creates it (GetSpecificObj) and hands it a counted reference to its
// IOrvDocument, which the object keeps for its whole life.
//
//   Record-field kinds derive from SpecificObject: each property reads or
//   writes a field of the document through Document().
//
//   Extension kinds derive from ExtensionKind and give the path of their root
//   element and two hooks:
//       static constexpr const char16_t* kRoot = u"ZZDOCEX";
//       void Decode(IXMLDOMElement* root);                       // read fields
//       void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root); // write fields
//   and implement InitFromExtension / UpdateExtension / IsInitialized by
//   calling InitFromExtensionImpl() / UpdateExtensionImpl() / the flag helpers.
//   Decode runs only when the body holds the root; a failing DOM call inside a
//   hook raises with orv::Check and ends the member with that status.
#pragma once

#include "frame/com.h"

#include <orvdocs/platform/msxml.h>
#include <orvdocs/typelib/document.h>

namespace orv {

template <class Derived, const CLSID* Clsid, class... Entries>
class SpecificObject : public CoClass<Derived, Clsid, Entries...> {
public:
    // Set once by the generic document right after creation.
    void SetDocument(IOrvDocument* document) noexcept { document_ = document; }

    // The common OrvDocument get: the generic document that created this object.
    HRESULT GetOrvDocument(IUnknown** pVal) {
        if (!pVal) return E_POINTER;
        *pVal = nullptr;
        return this->Locked([&] { return document_ ? document_.CopyTo(reinterpret_cast<IOrvDocument**>(pVal)) : S_OK; });
    }

protected:
    // The generic document; raises E_POINTER when the object was created alone.
    IOrvDocument* Document() {
        if (!document_) throw ComError{E_POINTER, IID_IOrvDocument};
        return document_.Get();
    }

    ComPtr<IOrvDocument> document_;
};

namespace detail {

// Creates the kind's XML document (DOMDocument40) when it has none yet.
void EnsureXml(ComPtr<IXMLDOMDocument>* xml);

// Algorithm A without the kind's own decoding: reads the document's extension
// body into the kind's XML document (created on first need) and gives the root
// element, or null when there is no extension, no body, a body that does not
// parse or no such root.
ComPtr<IXMLDOMElement> LoadExtensionRoot(IOrvDocument* document, ComPtr<IXMLDOMDocument>* xml, const char16_t* root);

// Algorithm B around the kind's own encoding: empties the XML document (created
// on first need), appends a new root element and returns it. Returns null when
// the document has no extension (then nothing is to be written).
ComPtr<IXMLDOMElement> StartExtension(IOrvDocument* document, ComPtr<IXMLDOMDocument>* xml, const char16_t* root);
// Hands the XML document's text to the extension (Clear when there is none).
void FinishExtension(IOrvDocument* document, IXMLDOMDocument* xml);

}  // namespace detail

template <class Derived, const CLSID* Clsid, class... Entries>
class ExtensionKind : public SpecificObject<Derived, Clsid, Entries...> {
protected:
    HRESULT InitFromExtensionImpl() {
        return this->Locked([&] {
            ComPtr<IXMLDOMElement> root = detail::LoadExtensionRoot(this->Document(), &xml_, Derived::kRoot);
            if (root) static_cast<Derived*>(this)->Decode(root.Get());
            initialized_ = VARIANT_TRUE;
            return S_OK;
        });
    }
    HRESULT UpdateExtensionImpl() {
        return this->Locked([&] {
            ComPtr<IXMLDOMElement> root = detail::StartExtension(this->Document(), &xml_, Derived::kRoot);
            if (!root) return S_OK;
            static_cast<Derived*>(this)->Encode(xml_.Get(), root.Get());
            detail::FinishExtension(this->Document(), xml_.Get());
            return S_OK;
        });
    }
    HRESULT GetInitialized(VARIANT_BOOL* pVal) {
        if (!pVal) return E_POINTER;
        return this->Locked([&] {
            *pVal = initialized_;
            return S_OK;
        });
    }
    HRESULT PutInitialized(VARIANT_BOOL value) {
        return this->Locked([&] {
            initialized_ = value;
            return S_OK;
        });
    }

    VARIANT_BOOL initialized_ = VARIANT_FALSE;
    ComPtr<IXMLDOMDocument> xml_;
};

// Creates a specific object of class T and hands it its generic document.
template <class T>
HRESULT CreateSpecific(IOrvDocument* document, IUnknown** out) noexcept {
    ComPtr<IUnknown> unknown;
    T* object = nullptr;
    HRESULT hr = CreateObjectWithAccess<T>(&unknown, &object);
    if (FAILED(hr)) return hr;
    object->SetDocument(document);
    // A kind with a step of its own in the hand-over (the sick-leave document
    // takes its access type) runs it before the object is handed out.
    if constexpr (requires { object->DocumentAttached(); }) {
        hr = object->DocumentAttached();
        if (FAILED(hr)) return hr;
    }
    *out = unknown.Detach();
    return S_OK;
}

}  // namespace orv
