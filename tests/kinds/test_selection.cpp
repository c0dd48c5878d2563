// Selection of the specific object by type code: every code of the kinds
// table gives an object of its kind, every other code none.
#include "kinds/selection.h"

#include "document/OrvDocument.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

struct KindCodes {
    const IID* iid;
    std::vector<LONG> codes;
};

const std::vector<KindCodes>& Kinds() {
    static const std::vector<KindCodes> kinds = {
        {&IID_IOrvOKDoc, {1, 48}},      {&IID_IOrvAVDoc, {7}},        {&IID_IOrvMPDoc, {8, 300}},
        {&IID_IOrvSBDoc, {10}},         {&IID_IOrvINDoc, {14}},       {&IID_IOrvILDoc, {15}},
        {&IID_IOrvSTDoc, {17}},         {&IID_IOrvBLDoc, {21}},       {&IID_IOrvOTDoc, {22}},
        {&IID_IOrvORDoc, {30}},         {&IID_IOrvLPDoc, {40}},       {&IID_IOrvTNDoc, {51}},
        {&IID_IOrvVlDoc, {68}},         {&IID_IOrvPSDoc, {69}},       {&IID_IOrvDOutsSovm, {71}},
        {&IID_IOrvDRDoc, {91}},         {&IID_IOrvVODoc, {92, 368}},  {&IID_IOrvUVDoc, {93}},
        {&IID_IOrvSRDoc, {136}},        {&IID_IOrvS1Doc, {137}},      {&IID_IOrvS2Doc, {138}},
        {&IID_IOrvTVDoc, {250}},        {&IID_IOrvNLDoc, {260}},      {&IID_IOrvZMDoc, {301}},
        {&IID_IOrvTDDoc, {304}},        {&IID_IOrvZZDoc, {332}},      {&IID_IOrvS3Doc, {333}},
        {&IID_IOrvXLDoc, {334}},        {&IID_IOrvERDoc, {335}},      {&IID_IOrvTCDoc, {336}},
        {&IID_IOrvZGDoc, {338}},        {&IID_IOrvRIDoc, {346}},      {&IID_IOrvVVDoc, {349}},
        {&IID_IOrvMGDoc, {356}},        {&IID_IOrvMIDoc, {361}},      {&IID_IOrvIJDoc, {362}},
        {&IID_IOrvBVDoc, {369}},        {&IID_IOrvMDDoc, {407}},      {&IID_IOrvMYDoc, {408}},
        {&IID_IOrvJBDoc, {396, 402, 403, 404, 405, 411, 413, 414, 420, 421, 423, 424}},
    };
    return kinds;
}

orv::ComPtr<IOrvDocument> NewDocument() {
    orv::ComPtr<IOrvDocument> doc;
    EXPECT_EQ(orv::CreateObject<orv::OrvDocument>(&doc), S_OK);
    return doc;
}

TEST(SpecificSelection, EveryTypeCodeOfTheTableGivesItsKindAndOthersNone) {
    orv::ComPtr<IOrvDocument> doc = NewDocument();
    ASSERT_TRUE(doc);
    std::map<LONG, const IID*> byCode;
    for (const KindCodes& k : Kinds())
        for (LONG code : k.codes) byCode[code] = k.iid;
    for (LONG code = -2; code <= 430; ++code) {
        if (code == 410) continue;  // served by an outside component
        orv::ComPtr<IUnknown> obj;
        HRESULT hr = orv::CreateSpecificObject(code, doc.Get(), obj.GetAddressOf());
        auto it = byCode.find(code);
        if (it == byCode.end()) {
            EXPECT_EQ(hr, E_NOINTERFACE) << code;
            EXPECT_FALSE(obj) << code;
            EXPECT_FALSE(orv::HasSpecificObject(code)) << code;
            continue;
        }
        ASSERT_EQ(hr, S_OK) << code;
        EXPECT_TRUE(orv::HasSpecificObject(code));
        orv::ComPtr<IUnknown> itf;
        EXPECT_EQ(obj->QueryInterface(*it->second, reinterpret_cast<void**>(itf.GetAddressOf())), S_OK) << code;
    }
}

TEST(SpecificSelection, TwoRequestsGiveTwoObjects) {
    orv::ComPtr<IOrvDocument> doc = NewDocument();
    orv::ComPtr<IUnknown> a, b;
    ASSERT_EQ(orv::CreateSpecificObject(48, doc.Get(), a.GetAddressOf()), S_OK);
    ASSERT_EQ(orv::CreateSpecificObject(48, doc.Get(), b.GetAddressOf()), S_OK);
    EXPECT_NE(a.Get(), b.Get());
}

TEST(SpecificSelection, NullArgumentsAreRefused) {
    orv::ComPtr<IOrvDocument> doc = NewDocument();
    orv::ComPtr<IUnknown> obj;
    EXPECT_EQ(orv::CreateSpecificObject(48, doc.Get(), nullptr), E_POINTER);
    EXPECT_EQ(orv::CreateSpecificObject(48, nullptr, obj.GetAddressOf()), E_POINTER);
}

TEST(SpecificSelection, OutsideKindWithoutItsComponentGivesTheRuntimeStatus) {
    orv::ComPtr<IOrvDocument> doc = NewDocument();
    orv::ComPtr<IUnknown> obj;
    EXPECT_EQ(orv::CreateSpecificObject(410, doc.Get(), obj.GetAddressOf()), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(obj);
}

}  // namespace
