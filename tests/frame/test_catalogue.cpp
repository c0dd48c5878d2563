// The whole catalogue: every class created by class identifier and by both
// ProgIDs, answering exactly the interfaces of its row with one identity;
// registration keys; the module's lock count; a second process creating a
// class through the persisted registry.
#include <orvdocs/orvdocs.h>

#include "host/registration.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/inotify.h>
#include <unistd.h>
#include <set>
#include <string>
#include <vector>

namespace {

struct Row {
    const char16_t* name;
    const char16_t* clsid;
    std::vector<const IID*> interfaces;  // in the order of the class's interface table
    const IID* dispatch;                 // the interface that answers IDispatch
};

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
    {u"OrvDocument", u"{4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}", {&IID_IOrvDocument, &IID_ISupportErrorInfo, &IID_IOrvDocExtension, &IID_IDispatch, &IID_IOrvDocumentDisp, &IID_IOrvObjAsXmlString}, &IID_IOrvDocumentDisp},
    {u"OrvDOutsSovm", u"{4EAF7A62-AFB4-11D3-B8F1-0000C0A3E6F3}", {&IID_IOrvDOutsSovm, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvDOutsSovm},
    {u"OrvDocList", u"{4EAF7A64-AFB4-11D3-B8F1-0000C0A3E6F3}", {&IID_IOrvDocList, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvObjAsXmlString, &IID_IOrvObjAsXmlStringD, &IID_IOrvENUMDocuments}, &IID_IOrvDocList},
    {u"OrvLPDoc", u"{7CEE8934-B9D2-11D3-B8F4-0000C0A3E6F3}", {&IID_IOrvLPDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvLPDoc},
    {u"OrvDocExtension", u"{A5774BC4-BB63-11D3-B8F8-0000C0A3E6F3}", {&IID_IOrvDocExtension, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvDocExtension},
    {u"OrvNLDoc", u"{7F5F5472-BCE6-11D3-B8F8-0000C0A3E6F3}", {&IID_IOrvNLDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvNLDoc},
    {u"OrvMPDoc", u"{FF5D3318-C7F7-11D3-B8F9-0000C0A3E6F3}", {&IID_IOrvMPDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvMPDoc},
    {u"OrvAddrRegion", u"{76576C44-CBEF-11D3-B8FB-0000C0A3E6F3}", {&IID_IOrvAddrRegion, &IID_ISupportErrorInfo, &IID_IDispatch, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvAddrRegion},
    {u"OrvAddrCity", u"{76576C46-CBEF-11D3-B8FB-0000C0A3E6F3}", {&IID_IOrvAddrCity, &IID_ISupportErrorInfo, &IID_IDispatch, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvAddrCity},
    {u"OrvAddrDistrict", u"{76576C48-CBEF-11D3-B8FB-0000C0A3E6F3}", {&IID_IOrvAddrDistrict, &IID_ISupportErrorInfo, &IID_IDispatch, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvAddrDistrict},
    {u"OrvInstanceList", u"{76576C4A-CBEF-11D3-B8FB-0000C0A3E6F3}", {&IID_IOrvInstanceList, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvObjAsXmlString}, &IID_IOrvInstanceList},
    {u"OrvMonth", u"{003D4704-D6E8-11D3-B8FE-0000C0A3E6F3}", {&IID_IOrvMonth, &IID_ISupportErrorInfo, &IID_IDispatch, &IID_IOrvM, &IID_IOrvMonthDisp, &IID_IOrvObjAsXmlString}, &IID_IOrvMonthDisp},
    {u"OrvVlDoc", u"{53B95584-DF79-11D3-B905-0000C0A3E6F3}", {&IID_IOrvVlDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvVlDoc},
    {u"OrvAddrCountry", u"{56CCC624-EF3B-11D3-B906-0000C0A3E6F3}", {&IID_IOrvAddrCountry, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvAddrCountry},
    {u"OrvIdType", u"{56CCC629-EF3B-11D3-B906-0000C0A3E6F3}", {&IID_IOrvIdType, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvIdType},
    {u"OrvJobPosition", u"{1DAFC227-EF97-11D3-B907-0000C0A3E6F3}", {&IID_IOrvJobPosition, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvRefItem, &IID_IOrvObjAsXmlString}, &IID_IOrvJobPosition},
    {u"OrvUVDoc", u"{8506E947-F0CF-11D3-B907-0000C0A3E6F3}", {&IID_IOrvUVDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvUVDoc},
    {u"OrvOKDoc", u"{57A1C5F4-FA41-11D3-B90B-0000C0A3E6F3}", {&IID_IOrvOKDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvOKDoc},
    {u"OrvS1Doc", u"{B03AABB4-FB4B-11D3-B90B-0000C0A3E6F3}", {&IID_IOrvS1Doc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvS1Doc},
    {u"OrvERDoc", u"{795DDDEB-E834-4279-A5D2-41EC465FAC00}", {&IID_IOrvERDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvERDoc},
    {u"OrvTNDoc", u"{4FCC2017-0418-11D4-B90C-0000C0A3E6F3}", {&IID_IOrvTNDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvTNDoc},
    {u"OrvBLDoc", u"{2CCA7544-11CA-11D4-B910-0000C0A3E6F3}", {&IID_IOrvBLDoc, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvENUMBlTypes}, &IID_IOrvBLDoc},
    {u"OrvBLDocProtocol", u"{2CCA7546-11CA-11D4-B910-0000C0A3E6F3}", {&IID_IOrvBLDocProtocol, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvObjAsXmlString}, &IID_IOrvBLDocProtocol},
    {u"OrvBLProtHistoryItem", u"{2CCA7548-11CA-11D4-B910-0000C0A3E6F3}", {&IID_IOrvBLProtHistoryItem, &IID_IDispatch}, &IID_IOrvBLProtHistoryItem},
    {u"OrvBlProtPayMonthItem", u"{2CCA754A-11CA-11D4-B910-0000C0A3E6F3}", {&IID_IOrvBlProtPayMonthItem, &IID_IDispatch}, &IID_IOrvBlProtPayMonthItem},
    {u"OrvSBDoc", u"{EA91A064-14F0-11D4-B911-0000C0A3E6F3}", {&IID_IOrvSBDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvSBDoc},
    {u"OrvBank", u"{EA91A066-14F0-11D4-B911-0000C0A3E6F3}", {&IID_IOrvBank, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvObjAsXmlString}, &IID_IOrvBank},
    {u"OrvILDoc", u"{4ECC5A44-1762-11D4-B911-0000C0A3E6F3}", {&IID_IOrvILDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvILDoc},
    {u"OrvMTrace", u"{E261E5A4-392E-11D4-B91A-0000C0A3E6F3}", {&IID_IOrvMTrace, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IOrvDepPeriod}, &IID_IOrvMTrace},
    {u"OrvOTDoc", u"{4DB88744-8936-11D4-B964-0000C0A3E6F3}", {&IID_IOrvOTDoc, &IID_IDispatch, &IID_IOrvENUMBlTypes, &IID_IOrvOTProtocol}, &IID_IOrvOTDoc},
    {u"OrvINDoc", u"{B1ED6207-9FFF-11D4-B965-0000C0A3E6F3}", {&IID_IOrvINDoc, &IID_IDispatch}, &IID_IOrvINDoc},
    {u"OrvSTDoc", u"{B1ED6209-9FFF-11D4-B965-0000C0A3E6F3}", {&IID_IOrvSTDoc, &IID_IDispatch}, &IID_IOrvSTDoc},
    {u"OrvS2Doc", u"{128CBC34-A513-11D4-BCBC-0020AF0E0FA1}", {&IID_IOrvS2Doc, &IID_IDispatch}, &IID_IOrvS2Doc},
    {u"OrvDRDoc", u"{8579F0D4-A973-11D4-B96A-0000C0A3E6F3}", {&IID_IOrvDRDoc, &IID_IDispatch}, &IID_IOrvDRDoc},
    {u"OrvMonthList", u"{072D0114-D000-11D4-B97F-0000C0A3E6F3}", {&IID_IOrvMonthList, &IID_IDispatch, &IID_IOrvUnknownList}, &IID_IOrvMonthList},
    {u"OrvAVDoc", u"{6FA21D17-7465-45EC-ADF2-918457A48A06}", {&IID_IOrvAVDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvAVDoc},
    {u"OrvZMDoc", u"{634B6D54-14C4-433D-9DD2-B7CCF50DF6D8}", {&IID_IOrvZMDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvZMDoc},
    {u"OrvJBDoc", u"{3D9A975E-0BFF-4A39-97F2-6C116D1AFA08}", {&IID_IOrvJBDoc, &IID_IDispatch}, &IID_IOrvJBDoc},
    {u"OrvMYDoc", u"{4BAC92EB-9436-4D84-887F-DCCF14EFDB6E}", {&IID_IOrvMYDoc, &IID_IDispatch}, &IID_IOrvMYDoc},
    {u"OrvSRDoc", u"{C8F37513-B20A-48E3-88A0-9A7DC0BFCBFD}", {&IID_IOrvSRDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvSRDoc},
    {u"OrvTDDoc", u"{5F399C8C-2E04-423B-AEC9-E15434F0A25C}", {&IID_IOrvTDDoc, &IID_IDispatch}, &IID_IOrvTDDoc},
    {u"OrvZZDoc", u"{6DA2C039-5B97-4F46-B210-F43703972772}", {&IID_IOrvZZDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvZZDoc},
    {u"OrvS3Doc", u"{17F70FFE-BFC1-46C3-BAC9-041687694E61}", {&IID_IOrvS3Doc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvS3Doc},
    {u"OrvXLDoc", u"{EF2E0628-DE23-458B-9B54-1454FDD2A6AF}", {&IID_IOrvXLDoc, &IID_IDispatch}, &IID_IOrvXLDoc},
    {u"OrvTCDoc", u"{D1BB6A38-A217-4FEF-BA78-DCED3C5667E3}", {&IID_IOrvTCDoc, &IID_IDispatch}, &IID_IOrvTCDoc},
    {u"OrvMDDoc", u"{AE3B476A-670B-4955-989C-528F976140A5}", {&IID_IOrvMDDoc, &IID_IDispatch}, &IID_IOrvMDDoc},
    {u"OrvZGDoc", u"{B9E4647E-5592-48F9-BE0B-D2B9E6536D36}", {&IID_IOrvZGDoc, &IID_IDispatch, &IID_ISupportErrorInfo}, &IID_IOrvZGDoc},
    {u"OrvRIDoc", u"{FABA5645-D4EC-451A-AF99-66F30B36C7ED}", {&IID_IOrvRIDoc, &IID_IDispatch}, &IID_IOrvRIDoc},
    {u"OrvPSDoc", u"{14DCC2F4-ED16-449F-B858-1C2B18A20DCF}", {&IID_IOrvPSDoc, &IID_IDispatch}, &IID_IOrvPSDoc},
    {u"OrvVVDoc", u"{B73653FD-948E-4B9E-A366-CC4A517D781C}", {&IID_IOrvVVDoc, &IID_IDispatch}, &IID_IOrvVVDoc},
    {u"OrvORDoc", u"{B904E2A8-4DE0-4C0A-B866-4A227A3DB1C7}", {&IID_IOrvORDoc, &IID_IDispatch}, &IID_IOrvORDoc},
    {u"OrvMGDoc", u"{9D8E2B1F-97F6-48BA-83C1-A2D87680D0A7}", {&IID_IOrvMGDoc, &IID_IDispatch}, &IID_IOrvMGDoc},
    {u"OrvMIDoc", u"{96D69042-4524-4BFD-844F-E719EE0A3602}", {&IID_IOrvMIDoc, &IID_IDispatch}, &IID_IOrvMIDoc},
    {u"OrvIJDoc", u"{F7259249-2876-43CF-A880-4C870C10F7A6}", {&IID_IOrvIJDoc, &IID_IDispatch}, &IID_IOrvIJDoc},
    {u"OrvVODoc", u"{B21B0F33-D599-4F75-AC24-94E56DEE39B8}", {&IID_IOrvVODoc, &IID_IDispatch}, &IID_IOrvVODoc},
    {u"OrvBVDoc", u"{98E24715-FA70-4D50-AF2A-3424AE8B3D89}", {&IID_IOrvBVDoc, &IID_IDispatch}, &IID_IOrvBVDoc},
    {u"OrvMVDoc", u"{42763E76-4722-4D43-84F5-310CE771FA23}", {&IID_IOrvMVDoc, &IID_IDispatch}, &IID_IOrvMVDoc},
    };
    return rows;
}

// Every interface identifier a class might be asked for.
std::vector<const IID*> AllInterfaces() {
    std::set<std::u16string> seen;
    std::vector<const IID*> all;
    for (const Row& r : Rows())
        for (const IID* iid : r.interfaces) {
            OLECHAR text[40];
            StringFromGUID2(*iid, text, 40);
            if (seen.insert(text).second) all.push_back(iid);
        }
    return all;
}

CLSID ClsidOf(const Row& r) {
    CLSID c{};
    EXPECT_EQ(CLSIDFromString(r.clsid, &c), S_OK);
    return c;
}

std::u16string Name(const Row& r) { return r.name; }

class CatalogueEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(orv::host::RegisterHostComponents(&host_), S_OK);
        ASSERT_EQ(DllRegisterServer(), S_OK);
    }
    void TearDown() override { host_.Revoke(); }

private:
    orv::host::Registration host_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new CatalogueEnvironment);

IUnknown* IdentityOf(IUnknown* p) {
    IUnknown* id = nullptr;
    if (FAILED(p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&id)))) return nullptr;
    id->Release();
    return id;
}

class CatalogueTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CatalogueTest, CreatedByClassIdAndBothProgIdsWithExactlyItsInterfaces) {
    const Row& row = Rows()[GetParam()];
    const CLSID clsid = ClsidOf(row);
    for (std::u16string progId : {u"OrvDocs." + Name(row) + u".1", u"OrvDocs." + Name(row)}) {
        CLSID found{};
        const bool clsidOnly = Name(row) == u"OrvMVDoc";
        EXPECT_EQ(CLSIDFromProgID(progId.c_str(), &found), clsidOnly ? CO_E_CLASSSTRING : S_OK);
        if (!clsidOnly) {
            EXPECT_EQ(found, clsid);
        }
    }

    orv::ComPtr<IUnknown> obj;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(obj.GetAddressOf())),
              S_OK);
    IUnknown* identity = obj.Get();
    std::set<std::u16string> listed;
    for (const IID* iid : row.interfaces) {
        OLECHAR text[40];
        StringFromGUID2(*iid, text, 40);
        listed.insert(text);
        orv::ComPtr<IUnknown> itf;
        ASSERT_EQ(obj->QueryInterface(*iid, reinterpret_cast<void**>(itf.GetAddressOf())), S_OK)
            << orv::Utf16ToUtf8(text);
        EXPECT_EQ(IdentityOf(itf.Get()), identity) << orv::Utf16ToUtf8(text);
    }
    for (const IID* iid : AllInterfaces()) {
        OLECHAR text[40];
        StringFromGUID2(*iid, text, 40);
        if (listed.count(text)) continue;
        void* p = reinterpret_cast<void*>(1);
        EXPECT_EQ(obj->QueryInterface(*iid, &p), E_NOINTERFACE) << orv::Utf16ToUtf8(text);
        EXPECT_EQ(p, nullptr);
    }
    // IDispatch is the interface the class names for automation.
    orv::ComPtr<IUnknown> disp, named;
    ASSERT_EQ(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf())), S_OK);
    ASSERT_EQ(obj->QueryInterface(*row.dispatch, reinterpret_cast<void**>(named.GetAddressOf())), S_OK);
    EXPECT_EQ(disp.Get(), named.Get());
}

TEST_P(CatalogueTest, ErrorInformationIsDescribedForTheFirstInterfaceOnly) {
    const Row& row = Rows()[GetParam()];
    orv::ComPtr<ISupportErrorInfo> sei;
    HRESULT hr = CoCreateInstance(ClsidOf(row), nullptr, CLSCTX_ALL, IID_ISupportErrorInfo,
                                  reinterpret_cast<void**>(sei.GetAddressOf()));
    bool listsIt = false;
    for (const IID* iid : row.interfaces) listsIt |= *iid == IID_ISupportErrorInfo;
    if (!listsIt) {
        EXPECT_EQ(hr, E_NOINTERFACE);
        return;
    }
    ASSERT_EQ(hr, S_OK);
    const bool month = Name(row) == u"OrvMonth";
    for (std::size_t i = 0; i < row.interfaces.size(); ++i) {
        const IID& iid = *row.interfaces[i];
        const bool expected = i == 0 || (month && iid == IID_IOrvMonthDisp);
        EXPECT_EQ(sei->InterfaceSupportsErrorInfo(iid), expected ? S_OK : S_FALSE) << i;
    }
}

TEST_P(CatalogueTest, AggregatedCreationNeedsIUnknownAndKeepsTheOuterIdentity) {
    const Row& row = Rows()[GetParam()];
    const CLSID clsid = ClsidOf(row);
    orv::ComPtr<IUnknown> outer;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(outer.GetAddressOf())),
              S_OK);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(CoCreateInstance(clsid, outer.Get(), CLSCTX_ALL, *row.interfaces[0], &p), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(p, nullptr);

    orv::ComPtr<IUnknown> inner;
    ASSERT_EQ(CoCreateInstance(clsid, outer.Get(), CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(inner.GetAddressOf())),
              S_OK);
    orv::ComPtr<IUnknown> first;
    ASSERT_EQ(inner->QueryInterface(*row.interfaces[0], reinterpret_cast<void**>(first.GetAddressOf())), S_OK);
    EXPECT_EQ(IdentityOf(first.Get()), outer.Get()) << "an aggregated object answers IUnknown with its outer";
    EXPECT_NE(inner.Get(), outer.Get());
}

std::string RowName(const ::testing::TestParamInfo<std::size_t>& info) {
    return orv::Utf16ToUtf8(Rows()[info.param].name);
}
INSTANTIATE_TEST_SUITE_P(EveryClass, CatalogueTest, ::testing::Range<std::size_t>(0, 57), RowName);

TEST(Catalogue, HasEveryClassButTheOneWithoutAFactory) {
    EXPECT_EQ(Rows().size(), 57u);
    void* p = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject(CLSID_OrvTVDoc, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(DllGetClassObject(CLSID_OrvDocument, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(CoCreateInstance(CLSID_OrvTVDoc, nullptr, CLSCTX_ALL, IID_IUnknown, &p), REGDB_E_CLASSNOTREG);
}

TEST(Catalogue, ClassFactoryIsCreatedOnceAndCached) {
    orv::ComPtr<IClassFactory> a, b;
    ASSERT_EQ(DllGetClassObject(CLSID_OrvDocument, IID_IClassFactory, reinterpret_cast<void**>(a.GetAddressOf())), S_OK);
    ASSERT_EQ(DllGetClassObject(CLSID_OrvDocument, IID_IClassFactory, reinterpret_cast<void**>(b.GetAddressOf())), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
}

TEST(Catalogue, DocumentAnswersItsExtensionThroughTheAggregatedInnerObject) {
    orv::ComPtr<IOrvDocument> doc;
    ASSERT_EQ(CoCreateInstance(CLSID_OrvDocument, nullptr, CLSCTX_ALL, IID_IOrvDocument,
                               reinterpret_cast<void**>(doc.GetAddressOf())),
              S_OK);
    orv::ComPtr<IOrvDocExtension> ext;
    ASSERT_EQ(doc.As(&ext), S_OK);
    EXPECT_EQ(IdentityOf(ext.Get()), IdentityOf(doc.Get()));
    orv::ComPtr<IOrvDocument> back;
    EXPECT_EQ(ext.As(&back), S_OK);
    EXPECT_EQ(back.Get(), doc.Get());
}

TEST(Catalogue, ReferenceClassesHandTheirItemKindAndClassId) {
    struct Case {
        const CLSID* clsid;
        LONG kind;
        const char16_t* text;
    };
    const Case cases[] = {{&CLSID_OrvAddrCity, 4, u"{76576C46-CBEF-11D3-B8FB-0000C0A3E6F3}"},
                          {&CLSID_OrvJobPosition, 2, u"{1DAFC227-EF97-11D3-B907-0000C0A3E6F3}"},
                          {&CLSID_OrvAddrRegion, 3, u"{76576C44-CBEF-11D3-B8FB-0000C0A3E6F3}"},
                          {&CLSID_OrvIdType, 5, u"{56CCC629-EF3B-11D3-B906-0000C0A3E6F3}"},
                          {&CLSID_OrvAddrCountry, 6, u"{56CCC624-EF3B-11D3-B906-0000C0A3E6F3}"},
                          {&CLSID_OrvAddrDistrict, 7, u"{76576C48-CBEF-11D3-B8FB-0000C0A3E6F3}"}};
    for (const Case& c : cases) {
        orv::ComPtr<IOrvRefItem> item;
        ASSERT_EQ(CoCreateInstance(*c.clsid, nullptr, CLSCTX_ALL, IID_IOrvRefItem,
                                   reinterpret_cast<void**>(item.GetAddressOf())),
                  S_OK);
        LONG kind = 0;
        EXPECT_EQ(item->get_Kind(&kind), S_OK);
        EXPECT_EQ(kind, c.kind);
        orv::Bstr text;
        EXPECT_EQ(item->get_ClassId(text.ReleaseAndGetAddressOf()), S_OK);
        EXPECT_EQ(text.View(), c.text);
    }
}

std::u16string ReadDefault(const std::u16string& key, const char16_t* name = nullptr) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return u"<missing>";
    char16_t buf[1024];
    DWORD size = sizeof buf;
    DWORD type = 0;
    LSTATUS st = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (st != ERROR_SUCCESS) return u"<no value>";
    return std::u16string(buf, size / 2 ? size / 2 - 1 : 0);
}

bool KeyExists(const std::u16string& key) {
    HKEY h = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

TEST(Registration, WritesTheKeysOfEveryClassAndRemovesThem) {
    const std::u16string clsid = u"{4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}";
    const std::u16string key = u"CLSID\\" + clsid;
    EXPECT_EQ(ReadDefault(u"OrvDocs.OrvDocument.1"), u"OrvDocument Class");
    EXPECT_EQ(ReadDefault(u"OrvDocs.OrvDocument.1\\CLSID"), clsid);
    EXPECT_EQ(ReadDefault(u"OrvDocs.OrvDocument"), u"OrvDocument Class");
    EXPECT_EQ(ReadDefault(u"OrvDocs.OrvDocument\\CLSID"), clsid);
    EXPECT_EQ(ReadDefault(u"OrvDocs.OrvDocument\\CurVer"), u"OrvDocs.OrvDocument.1");
    EXPECT_EQ(ReadDefault(key), u"OrvDocument Class");
    EXPECT_EQ(ReadDefault(key + u"\\ProgID"), u"OrvDocs.OrvDocument.1");
    EXPECT_EQ(ReadDefault(key + u"\\VersionIndependentProgID"), u"OrvDocs.OrvDocument");
    EXPECT_TRUE(KeyExists(key + u"\\Programmable"));
    EXPECT_EQ(ReadDefault(key + u"\\InprocServer32", u"ThreadingModel"), u"Both");
    EXPECT_EQ(ReadDefault(key + u"\\TypeLib"), u"{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}");
    const std::u16string path = ReadDefault(key + u"\\InprocServer32");
    EXPECT_TRUE(std::filesystem::equivalent(orv::Utf16ToUtf8(path), ORV_ORVDOCS_MODULE)) << orv::Utf16ToUtf8(path);
    EXPECT_EQ(ReadDefault(u"TypeLib\\{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}\\1.0"), u"OrvDocs 1.0 Type Library");

    // The class without ProgIDs: its CLSID key only, with a Version.
    const std::u16string mv = u"CLSID\\{42763E76-4722-4D43-84F5-310CE771FA23}";
    EXPECT_EQ(ReadDefault(mv), u"OrvMVDoc Class");
    EXPECT_EQ(ReadDefault(mv + u"\\Version"), u"1.0");
    EXPECT_FALSE(KeyExists(mv + u"\\ProgID"));
    EXPECT_FALSE(KeyExists(u"OrvDocs.OrvMVDoc"));
    EXPECT_FALSE(KeyExists(u"CLSID\\{608652A9-E2C4-4755-92C0-17A586D17DF2}")) << "the view-only class stays unregistered";

    ASSERT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_FALSE(KeyExists(u"OrvDocs.OrvDocument.1"));
    EXPECT_FALSE(KeyExists(u"OrvDocs.OrvDocument"));
    EXPECT_FALSE(KeyExists(key));
    EXPECT_FALSE(KeyExists(mv));
    EXPECT_FALSE(KeyExists(u"TypeLib\\{4EAF7A53-AFB4-11D3-B8F1-0000C0A3E6F3}"));
    EXPECT_TRUE(KeyExists(u"CLSID")) << "the CLSID root is never removed";
    ASSERT_EQ(DllRegisterServer(), S_OK);
    EXPECT_EQ(ReadDefault(key), u"OrvDocument Class");
}

TEST(ModuleLockCount, FollowsObjectsAndServerLocks) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    {
        orv::ComPtr<IUnknown> obj;
        ASSERT_EQ(CoCreateInstance(CLSID_OrvLPDoc, nullptr, CLSCTX_ALL, IID_IUnknown,
                                   reinterpret_cast<void**>(obj.GetAddressOf())),
                  S_OK);
        EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    }
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "the factory CoCreateInstance used is only cached now";
}

IClassFactory* GetFactory(REFCLSID clsid) {
    IClassFactory* f = nullptr;
    EXPECT_EQ(DllGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&f)), S_OK);
    return f;
}

TEST(ModuleLockCount, AFactoryHeldByTheHostKeepsTheModule) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    IClassFactory* factory = GetFactory(CLSID_OrvLPDoc);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the host points into the module through its factory";
    IClassFactory* again = GetFactory(CLSID_OrvLPDoc);
    EXPECT_EQ(again, factory) << "one cached factory per class";
    IClassFactory* other = GetFactory(CLSID_OrvDocument);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a second reference is still held";
    again->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "another class's factory is still held";
    other->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "every factory is back to its cached reference";

    // AddRef and QueryInterface on a held factory count like the first reference.
    factory = GetFactory(CLSID_OrvLPDoc);
    IUnknown* unk = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unk)), S_OK);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    unk->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST(ModuleLockCount, LockServerAndAHeldFactoryCountSeparately) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    IClassFactory* factory = GetFactory(CLSID_OrvLPDoc);
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the server lock outlives the factory reference";
    factory = GetFactory(CLSID_OrvLPDoc);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the factory itself is still held";
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "one server lock is left";
    factory = GetFactory(CLSID_OrvLPDoc);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    factory->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// Runs the second-process program against a registry file; its exit status and output.
struct ChildResult {
    int status;
    std::string output;
};
ChildResult RunCreateByProgId(const std::string& file, const std::string& progId, const std::string& iid) {
    const std::string cmd = std::string("ORVDOCS_REGISTRY='") + file + "' '" + ORV_TEST_MODULE_DIR +
                            "/create_by_progid' " + progId + " '" + iid + "'";
    ChildResult r{-1, {}};
    FILE* child = ::popen(cmd.c_str(), "r");
    if (!child) return r;
    char line[256] = {};
    while (std::fgets(line, sizeof line, child)) r.output += line;
    r.status = ::pclose(child);
    return r;
}

// Switches this process to a registry file for one test and back to memory after it.
class RegistryFile {
public:
    RegistryFile() {
        dir_ = ::testing::TempDir() + "orvdocs-catalogue-" + std::to_string(::getpid());
        std::filesystem::create_directories(dir_);
        file_ = dir_ + "/registry";
        ::setenv(ORVDOCS_REGISTRY_ENV, file_.c_str(), 1);
        OrvRegistryReset();
    }
    ~RegistryFile() {
        ::setenv(ORVDOCS_REGISTRY_ENV, "", 1);
        OrvRegistryReset();
        DllRegisterServer();  // back to the in-memory registry the other tests use
        std::filesystem::remove_all(dir_);
    }
    const std::string& file() const { return file_; }

private:
    std::string dir_, file_;
};

TEST(Registration, SecondProcessCreatesTheDocumentByProgIdThroughTheRegistryFile) {
    RegistryFile registry;
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ChildResult r = RunCreateByProgId(registry.file(), "OrvDocs.OrvDocument", "{4EAF7A5F-AFB4-11D3-B8F1-0000C0A3E6F3}");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "created {4EAF7A60-AFB4-11D3-B8F1-0000C0A3E6F3}\n");
}

TEST(Registration, ClassNeedingAnUnregisteredOutsideComponentFailsWithTheRuntimeStatus) {
    // The second process registers no host components: a reference class
    // cannot create its reference item there and its creation fails cleanly.
    RegistryFile registry;
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ChildResult r = RunCreateByProgId(registry.file(), "OrvDocs.OrvAddrCity", "{00000000-0000-0000-C000-000000000046}");
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(r.output, "CoCreateInstance: 0x80040154\n");
}

// Counts the files renamed into a folder while `f` runs (every write of the
// registry file is a rename of a finished temporary file over it).
template <class F>
int RenamesInto(const std::string& dir, F&& f) {
    int fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0) return -1;
    if (::inotify_add_watch(fd, dir.c_str(), IN_MOVED_TO) < 0) {
        ::close(fd);
        return -1;
    }
    f();
    int count = 0;
    alignas(inotify_event) char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) {
        for (char* p = buf; p < buf + n;) {
            auto* ev = reinterpret_cast<inotify_event*>(p);
            if (ev->mask & IN_MOVED_TO) ++count;
            p += sizeof(inotify_event) + ev->len;
        }
    }
    ::close(fd);
    return count;
}

TEST(Registration, IntoAFileIsOneWriteEachWay) {
    RegistryFile registry;
    const std::string dir = std::filesystem::path(registry.file()).parent_path().string();
    HRESULT hr = E_FAIL;
    EXPECT_EQ(RenamesInto(dir, [&] { hr = DllRegisterServer(); }), 1);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(RenamesInto(dir, [&] { hr = DllRegisterServer(); }), 1) << "registering again replaces the class keys";
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(RenamesInto(dir, [&] { hr = DllUnregisterServer(); }), 1);
    ASSERT_EQ(hr, S_OK);
    // What the single write holds is the whole registration.
    ASSERT_EQ(DllRegisterServer(), S_OK);
    ChildResult r = RunCreateByProgId(registry.file(), "OrvDocs.OrvDocument", "{4EAF7A5F-AFB4-11D3-B8F1-0000C0A3E6F3}");
    EXPECT_EQ(r.status, 0) << r.output;
}

}  // namespace
