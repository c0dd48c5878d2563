// The host's list of texts: found by its class identifier once registered,
// keeps copies of the texts in the order added, reads them by a 0-based index.
#include "host/registration.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using orv::Bstr;
using orv::ComPtr;

TEST(HostTextList, KeepsCopiesInOrderAndRefusesBadIndices) {
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    ComPtr<IOrvTextList> list;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvTextList, nullptr, CLSCTX_ALL, IID_IOrvTextList,
                               reinterpret_cast<void**>(list.GetAddressOf())),
              S_OK);
    reg.Revoke();

    LONG count = -1;
    ASSERT_EQ(list->get_Count(&count), S_OK);
    EXPECT_EQ(count, 0);
    {
        Bstr first(u"Табель 12");
        ASSERT_EQ(list->Add(first), S_OK);
    }  // the list keeps its own copy
    ASSERT_EQ(list->Add(nullptr), S_OK);
    ASSERT_EQ(list->Add(Bstr(u"7")), S_OK);
    ASSERT_EQ(list->get_Count(&count), S_OK);
    EXPECT_EQ(count, 3);

    const std::u16string expected[] = {u"Табель 12", u"", u"7"};
    for (LONG i = 0; i < 3; ++i) {
        Bstr item;
        ASSERT_EQ(list->get_Item(i, item.ReleaseAndGetAddressOf()), S_OK);
        ASSERT_NE(item.Get(), nullptr);
        EXPECT_EQ(std::u16string(item.View()), expected[i]);
    }
    for (LONG bad : {-1, 3, 1000}) {
        BSTR item = reinterpret_cast<BSTR>(1);
        EXPECT_EQ(list->get_Item(bad, &item), E_INVALIDARG) << bad;
        EXPECT_EQ(item, nullptr);
    }
    EXPECT_EQ(list->get_Item(0, nullptr), E_POINTER);
    EXPECT_EQ(list->get_Count(nullptr), E_POINTER);
}

}  // namespace
