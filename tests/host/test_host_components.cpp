// The outside components of this host are found by class identifier once
// registered, and not after the registration is withdrawn.
#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using orv::ComPtr;

TEST(HostComponents, DateCollectorOutsideDocumentAndDatabaseAreCreatedByClass) {
    orv::host::Registration reg;
    ASSERT_EQ(orv::host::RegisterHostComponents(&reg), S_OK);
    const struct {
        const CLSID* clsid;
        const IID* iid;
    } classes[] = {{&CLSID_OrvDateService, &IID_IOrvDateService},
                   {&CLSID_OrvSumCollector, &IID_IOrvSumCollector},
                   {&CLSID_OrvSumCollector, &IID_IOrvObjAsXmlString},
                   {&CLSID_OrvOutsideDoc, &IID_IOrvOutsideDoc},
                   {&CLSID_OrvMemoryDatabase, &IID_IOrvDatabase},
                   {&CLSID_OrvMemoryDatabase, &IID_IOrvDocStore},
                   {&CLSID_OrvMemoryDatabase, &IID_IOrvNumbering}};
    for (const auto& c : classes) {
        ComPtr<IUnknown> obj;
        EXPECT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_ALL, *c.iid, reinterpret_cast<void**>(obj.GetAddressOf())),
                  S_OK);
        EXPECT_TRUE(obj);
    }
    // Two objects of one class are two objects.
    ComPtr<IOrvSumCollector> a, b;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvSumCollector, nullptr, CLSCTX_ALL, IID_IOrvSumCollector,
                               reinterpret_cast<void**>(a.GetAddressOf())),
              S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_OrvSumCollector, nullptr, CLSCTX_ALL, IID_IOrvSumCollector,
                               reinterpret_cast<void**>(b.GetAddressOf())),
              S_OK);
    ASSERT_EQ(a->put_Id(1), S_OK);
    LONG id = 0;
    ASSERT_EQ(b->get_Id(&id), S_OK);
    EXPECT_EQ(id, 0);

    reg.Revoke();
    ComPtr<IUnknown> gone;
    EXPECT_EQ(CoCreateInstance(CLSID_OrvDateService, nullptr, CLSCTX_ALL, IID_IOrvDateService,
                               reinterpret_cast<void**>(gone.GetAddressOf())),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(gone.GetAddressOf())),
              REGDB_E_CLASSNOTREG);
}

}  // namespace
