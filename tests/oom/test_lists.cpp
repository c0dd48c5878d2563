// Injected allocation failures through a document list's full XML form
// (written and read) and its Clone.
#include "oom_walk.h"

#include "lists/lists_test_util.h"

namespace {

using namespace liststest;
using oomtest::Describe;
using oomtest::Operation;
using List = ComPtr<IOrvDocList>;

ComPtr<IOrvObjAsXmlString> FormOf(IUnknown* list) {
    ComPtr<IOrvObjAsXmlString> xml;
    EXPECT_EQ(list->QueryInterface(IID_IOrvObjAsXmlString, reinterpret_cast<void**>(xml.GetAddressOf())), S_OK);
    return xml;
}

std::u16string FullStringOf(IUnknown* list) {
    Bstr text;
    EXPECT_EQ(FormOf(list)->get_FullString(text.ReleaseAndGetAddressOf()), S_OK);
    return std::u16string(text.View());
}

// Documents with records, addresses and, every other one, an extension body.
List MixedList(int count, unsigned seed) {
    List list = NewList();
    for (int i = 0; i < count; ++i) {
        ComPtr<IOrvDocument> doc = MakeDoc({});
        doctest::PutRecord(doc.Get(), doctest::RandomRecord(seed + i, static_cast<SHORT>(1 + i % 40)));
        EXPECT_EQ(doc->put_DB_ADDR(static_cast<ULONG>(seed + i * 7 + 1)), S_OK);
        if (i % 2 == 0) {
            ComPtr<IOrvDocExtension> ext;
            EXPECT_EQ(doc.As(&ext), S_OK);
            const char body[] = "body\0bytes";
            EXPECT_EQ(ext->put_Body(Bstr::Attach(SysAllocStringByteLen(body, sizeof body - 1))), S_OK);
            EXPECT_EQ(ext->put_Length(sizeof body - 1), S_OK);
        }
        Add(list.Get(), doc.Get());
    }
    return list;
}

class ListOom : public ::testing::Test {
protected:
    ListsEnvironment env;
};

TEST_F(ListOom, FullStringWritten) {
    Operation<List> op{
        [] { return MixedList(4, 100); },
        [](List& l) { return FullStringOf(l.Get()); },
        [](List& l, Describe* out) {
            BSTR text = nullptr;
            HRESULT hr = FormOf(l.Get())->get_FullString(&text);
            auto owned = std::make_shared<Bstr>(Bstr::Attach(text));
            if (SUCCEEDED(hr) && !text) return E_UNEXPECTED;
            *out = [owned] { return std::u16string(owned->View()); };
            return hr;
        }};
    oomtest::Report("document list get_FullString", oomtest::Walk(op));
}

TEST_F(ListOom, FullStringRead) {
    auto text = std::make_shared<Bstr>(FullStringOf(MixedList(4, 200).Get()));
    Operation<List> op{
        [] { return MixedList(2, 300); },
        [](List& l) { return FullStringOf(l.Get()); },
        [text](List& l, Describe*) { return FormOf(l.Get())->put_FullString(*text); }};
    oomtest::Report("document list put_FullString", oomtest::Walk(op));
}

TEST_F(ListOom, Clone) {
    Operation<List> op{
        [] { return MixedList(4, 400); },
        [](List& l) { return FullStringOf(l.Get()); },
        [](List& l, Describe* out) {
            ComPtr<IUnknown> copy;
            HRESULT hr = l->Clone(copy.GetAddressOf());
            if (SUCCEEDED(hr)) {
                if (!copy) return E_UNEXPECTED;
                *out = [copy] { return FullStringOf(copy.Get()); };
            } else if (copy) {
                return E_UNEXPECTED;
            }
            return hr;
        }};
    oomtest::Report("document list Clone", oomtest::Walk(op));
}

}  // namespace
