#include "kinds/ExtensionText.h"

#include "frame/oemtext.h"

#include <algorithm>

namespace orv::exttext {
namespace {

// A byte string of the text's OEM bytes followed by its NUL.
Bstr OemBody(const CTCharToOem& oem) {
    Bstr body = Bstr::Attach(SysAllocStringByteLen(oem.Text(), static_cast<UINT>(oem.Length() + 1)));
    if (!body) throw std::bad_alloc();
    return body;
}

Bstr TextOfBytes(BSTR body, std::size_t count) {
    Bstr text = Bstr::Attach(COemToWChar(reinterpret_cast<const char*>(body), count).AllocBstr());
    if (!text) throw std::bad_alloc();
    return text;
}

}  // namespace

ComPtr<IOrvDocExtension> Find(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext;
    doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf()));
    return ext;
}

Bstr Body(IOrvDocExtension* ext) {
    Bstr body;
    Check(ext->get_Body(body.ReleaseAndGetAddressOf()), IID_IOrvDocExtension);
    return body;
}

Bstr ReadNulText(IOrvDocument* doc) {
    ComPtr<IOrvDocExtension> ext = Find(doc);
    if (!ext) return {};
    Bstr body = Body(ext.Get());
    if (body.ByteLength() == 0) return {};
    return TextOfBytes(body, body.ByteLength());
}

HRESULT WriteNulText(IOrvDocument* doc, BSTR text) {
    ComPtr<IOrvDocExtension> ext = Find(doc);
    if (!ext) return E_UNEXPECTED;
    CTCharToOem oem(text);
    if (oem.Length() == 0) {
        Check(ext->Clear(), IID_IOrvDocExtension);
        return S_OK;
    }
    Bstr body = OemBody(oem);
    Check(ext->put_Length(static_cast<LONG>(oem.Length() + 1)), IID_IOrvDocExtension);
    return Check(ext->put_Body(body), IID_IOrvDocExtension);
}

Bstr ReadLengthText(IOrvDocExtension* ext) {
    LONG length = 0;
    Check(ext->get_Length(&length), IID_IOrvDocExtension);
    if (length <= 0) return {};
    Bstr body = Body(ext);
    if (body.ByteLength() == 0) return {};
    return TextOfBytes(body, std::min<std::size_t>(static_cast<std::size_t>(length), body.ByteLength()));
}

void WriteLengthText(IOrvDocExtension* ext, BSTR text) {
    CTCharToOem oem(text);
    if (oem.Length() == 0) {
        Check(ext->Clear(), IID_IOrvDocExtension);
        return;
    }
    Check(ext->put_Body(OemBody(oem)), IID_IOrvDocExtension);
    Check(ext->put_Length(static_cast<LONG>(oem.Length() + 1)), IID_IOrvDocExtension);
}

}  // namespace orv::exttext
