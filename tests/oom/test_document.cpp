// Injected allocation failures through a document's XML form (written and
// read) and its Clone: every run answers E_OUTOFMEMORY with the document as it
// was, or S_OK with exactly the clean run's result.
#include "oom_walk.h"

#include "document/doc_test_util.h"
#include "document/fake_services.h"

#include "host/OrvSumCollector.h"

namespace {

using namespace doctest;
using oomtest::Describe;
using oomtest::Operation;
using Doc = ComPtr<IOrvDocument>;

HRESULT CreateSumCollector(IUnknown* outer, REFIID riid, void** ppv) {
    return orv::CreateInstance<orv::host::OrvSumCollector>(outer, riid, ppv);
}

ComPtr<IOrvObjAsXmlString> FormOf(IOrvDocument* doc) {
    ComPtr<IOrvObjAsXmlString> form;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(form.GetAddressOf())), S_OK);
    return form;
}

std::u16string FullStringOf(IOrvDocument* doc) {
    Bstr text;
    EXPECT_EQ(FormOf(doc)->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

// The document's whole state: its XML form (record, fields, extension, extra
// sums) and the flag of its extension.
std::u16string StateOf(IOrvDocument* doc) {
    VARIANT_BOOL initialized = 0;
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    EXPECT_EQ(doc->get_ExtensionInitialized(&initialized), S_OK);
    return FullStringOf(doc) + (initialized ? u"|initialized" : u"|plain");
}

// A document with record, fields, an extension body and two extra sums.
Doc FullDocument(unsigned seed) {
    Doc doc = NewDocument();
    PutRecord(doc.Get(), RandomRecord(seed, 3));
    EXPECT_EQ(doc->put_DB_ADDR(1000 + seed), S_OK);
    EXPECT_EQ(doc->put_TimeStamp(7 + seed), S_OK);
    EXPECT_EQ(doc->put_AT(1), S_OK);
    EXPECT_EQ(doc->put_RecalculationDate(45000.5), S_OK);
    ComPtr<IOrvDocExtension> ext;
    EXPECT_EQ(doc->QueryInterface(IID_IOrvDocExtension, reinterpret_cast<void**>(ext.GetAddressOf())), S_OK);
    const char body[] = "\x01\xAB\x00\xFF extension body";
    EXPECT_EQ(ext->put_Body(Bstr::Attach(SysAllocStringByteLen(body, sizeof body - 1))), S_OK);
    EXPECT_EQ(ext->put_Length(static_cast<LONG>(sizeof body - 1)), S_OK);
    EXPECT_EQ(doc->put_ExtensionInitialized(VARIANT_TRUE), S_OK);
    for (LONG id : {9, -4}) {
        ComPtr<IOrvSumCollector> c;
        EXPECT_EQ(orv::CreateObject<orv::host::OrvSumCollector>(&c), S_OK);
        EXPECT_EQ(c->put_Sum(0, Cy(125000 + id)), S_OK);
        EXPECT_EQ(c->put_Sum(3, Cy(-77)), S_OK);
        EXPECT_EQ(doc->AddSumCollector(id, c.Get()), S_OK);
    }
    return doc;
}

class DocumentOom : public ::testing::Test {
protected:
    HostEnvironment host_;
    ClassRegistration sums_{CLSID_OrvSumCollector, &CreateSumCollector};
};

TEST_F(DocumentOom, FullStringWritten) {
    Operation<Doc> op{
        [] { return FullDocument(1); },
        [](Doc& d) { return StateOf(d.Get()); },
        [](Doc& d, Describe* out) {
            BSTR text = nullptr;
            HRESULT hr = FormOf(d.Get())->get_FullString(&text);
            auto owned = std::make_shared<Bstr>(Bstr::Attach(text));
            if (SUCCEEDED(hr) && !text) return E_UNEXPECTED;  // an empty answer is not a document
            *out = [owned] { return std::u16string(owned->View()); };
            return hr;
        }};
    oomtest::Report("document get_FullString", oomtest::Walk(op));
}

TEST_F(DocumentOom, FullStringRead) {
    auto text = std::make_shared<Bstr>(FullStringOf(FullDocument(2).Get()));
    Operation<Doc> op{
        [] { return FullDocument(5); },  // another record, fields and sums
        [](Doc& d) { return StateOf(d.Get()); },
        [text](Doc& d, Describe*) { return FormOf(d.Get())->put_FullString(*text); }};
    oomtest::Report("document put_FullString", oomtest::Walk(op));
}

TEST_F(DocumentOom, FullStringReadIntoNewDocument) {
    auto text = std::make_shared<Bstr>(FullStringOf(FullDocument(3).Get()));
    Operation<Doc> op{
        [] { return NewDocument(); },
        [](Doc& d) { return StateOf(d.Get()); },
        [text](Doc& d, Describe*) { return FormOf(d.Get())->put_FullString(*text); }};
    oomtest::Report("document put_FullString (new document)", oomtest::Walk(op));
}

TEST_F(DocumentOom, Clone) {
    Operation<Doc> op{
        [] { return FullDocument(4); },
        [](Doc& d) { return StateOf(d.Get()); },
        [](Doc& d, Describe* out) {
            ComPtr<IUnknown> copy;
            HRESULT hr = d->Clone(copy.GetAddressOf());
            if (SUCCEEDED(hr)) {
                ComPtr<IOrvDocument> doc;
                if (!copy || FAILED(copy.As(&doc))) return E_UNEXPECTED;
                *out = [doc] { return StateOf(doc.Get()); };
            } else if (copy) {
                return E_UNEXPECTED;  // a failure hands out nothing
            }
            return hr;
        }};
    oomtest::Report("document Clone", oomtest::Walk(op));
}

}  // namespace
