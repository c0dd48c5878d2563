// A small host built against an installed copy of the library: it creates
// the DOM service and one of the library's classes through the catalogue.
#include <orvdocs/orvdocs.h>

#include <cstdio>

int main() {
    IXMLDOMDocument* doc = nullptr;
    if (CoCreateInstance(CLSID_DOMDocument40, nullptr, CLSCTX_ALL, IID_IXMLDOMDocument,
                         reinterpret_cast<void**>(&doc)) != S_OK)
        return 1;
    VARIANT_BOOL ok = VARIANT_FALSE;
    BSTR text = SysAllocString(u"<a b='1'/>");
    HRESULT hr = doc->loadXML(text, &ok);
    SysFreeString(text);
    doc->Release();
    if (hr != S_OK || ok != VARIANT_TRUE) return 2;
    IClassFactory* factory = nullptr;
    if (DllGetClassObject(CLSID_OrvDocument, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) return 3;
    IUnknown* obj = nullptr;
    hr = factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj));
    factory->Release();
    if (hr != S_OK) return 4;
    obj->Release();
    std::puts("host ok");
    return 0;
}
