// Coded sums (type 138) and the distribution over pay codes (type 346): the
// whole list as one text, kept in the extension at once.
#include "sum_support.h"

#include "kinds/OrvRIDoc.h"

#include <orvdocs/orvdocs.h>

#include <gtest/gtest.h>

namespace {

using namespace sumtest;

std::u16string XmlString(IOrvS2Doc* s2) {
    BSTR t = nullptr;
    EXPECT_EQ(s2->get_xmlString(&t), S_OK);
    return Take(t);
}
std::u16string XmlString(IOrvRIDoc* ri) {
    BSTR t = nullptr;
    EXPECT_EQ(ri->get_xmlString(&t), S_OK);
    return Take(t);
}
std::u16string Line(IOrvRIDoc* ri) {
    BSTR t = nullptr;
    EXPECT_EQ(ri->get_DistributionAsString(&t), S_OK);
    return Take(t);
}

TEST(CodedSums, APutIsStoredAtOnceAndReadByTheNextObject) {
    ComPtr<IOrvDocument> doc = Document(138, 1);
    ComPtr<IOrvS2Doc> s2 = kindtest::KindOf<IOrvS2Doc>(doc.Get());
    const std::u16string text = u"<S2SUMS><S2SUM CODE=\"101\" VAL=\"1500.5\"/><S2SUM CODE=\"7\" VAL=\"-3\"/></S2SUMS>";
    ASSERT_EQ(s2->put_xmlString(Bstr(text)), S_OK);
    EXPECT_EQ(Text(doc.Get()), text);
    EXPECT_EQ(Length(doc.Get()), static_cast<LONG>(text.size() * 2));

    ComPtr<IOrvS2Doc> again = kindtest::KindOf<IOrvS2Doc>(doc.Get());
    EXPECT_EQ(XmlString(again.Get()), text);
}

TEST(CodedSums, ACodeOccursOnceWithItsSumsAdded) {
    ComPtr<IOrvDocument> doc = Document(138, 1);
    ComPtr<IOrvS2Doc> s2 = kindtest::KindOf<IOrvS2Doc>(doc.Get());
    ASSERT_EQ(s2->put_xmlString(Bstr(u"<S2SUMS><S2SUM CODE=\"5\" VAL=\"1,25\"/><S2SUM CODE=\"6\" VAL=\"1\"/>"
                                     u"<S2SUM CODE=\"5\" VAL=\"2\"/></S2SUMS>")),
              S_OK);
    EXPECT_EQ(XmlString(s2.Get()), u"<S2SUMS><S2SUM CODE=\"5\" VAL=\"3.25\"/><S2SUM CODE=\"6\" VAL=\"1\"/></S2SUMS>");
}

TEST(CodedSums, TextThatIsNotXmlIsRefusedAndTheListAndBodyStay) {
    ComPtr<IOrvDocument> doc = Document(138, 1);
    ComPtr<IOrvS2Doc> s2 = kindtest::KindOf<IOrvS2Doc>(doc.Get());
    const std::u16string text = u"<S2SUMS><S2SUM CODE=\"1\" VAL=\"1\"/></S2SUMS>";
    ASSERT_EQ(s2->put_xmlString(Bstr(text)), S_OK);
    EXPECT_EQ(s2->put_xmlString(Bstr(u"<S2SUMS><S2SUM")), E_INVALIDARG);
    EXPECT_EQ(XmlString(s2.Get()), text);
    EXPECT_EQ(Text(doc.Get()), text);
    EXPECT_EQ(s2->get_xmlString(nullptr), E_POINTER);
    // An empty text empties the list (and the body holds the empty list).
    ASSERT_EQ(s2->put_xmlString(nullptr), S_OK);
    EXPECT_EQ(Text(doc.Get()), u"<S2SUMS/>");
}

TEST(Distribution, XmlAndLineAreTwoFormsOfOneList) {
    ComPtr<IOrvDocument> doc = Document(346, 1);
    ComPtr<IOrvRIDoc> ri = kindtest::KindOf<IOrvRIDoc>(doc.Get());
    ASSERT_EQ(ri->put_DistributionAsString(Bstr(u"  101 1500.5;102   -20 ; ;7 0,75")), S_OK);
    EXPECT_EQ(Line(ri.Get()), u"101 1500.5; 102 -20; 7 0.75");
    EXPECT_EQ(XmlString(ri.Get()), u"<RISUMS><RISUM CODE=\"101\" VAL=\"1500.5\"/><RISUM CODE=\"102\" VAL=\"-20\"/>"
                                   u"<RISUM CODE=\"7\" VAL=\"0.75\"/></RISUMS>");
    EXPECT_EQ(Text(doc.Get()), XmlString(ri.Get()));

    ComPtr<IOrvRIDoc> again = kindtest::KindOf<IOrvRIDoc>(doc.Get());
    EXPECT_EQ(Line(again.Get()), u"101 1500.5; 102 -20; 7 0.75");
}

TEST(Distribution, ALineThatIsNotCodeAndAmountChangesNothing) {
    ComPtr<IOrvDocument> doc = Document(346, 1);
    ComPtr<IOrvRIDoc> ri = kindtest::KindOf<IOrvRIDoc>(doc.Get());
    ASSERT_EQ(ri->put_DistributionAsString(Bstr(u"1 1")), S_OK);
    for (const char16_t* bad : {u"101", u"abc 1", u"1 2 3", u"1.5 2", u"1 x"})
        EXPECT_EQ(ri->put_DistributionAsString(Bstr(bad)), E_INVALIDARG) << Utf8(bad);
    EXPECT_EQ(Line(ri.Get()), u"1 1");
}

TEST(Distribution, CreateDistributionInPaysHandsOutAPaySumList) {
    ComPtr<IOrvDocument> doc = Document(346, 1);
    ComPtr<IOrvRIDoc> ri = kindtest::KindOf<IOrvRIDoc>(doc.Get());
    ASSERT_EQ(ri->put_DistributionAsString(Bstr(u"101 10; 102 20.5")), S_OK);

    ComPtr<IUnknown> list;
    ASSERT_EQ(ri->CreateDistributionInPays(nullptr, list.GetAddressOf()), S_OK);
    ComPtr<IOrvS1Doc> s1;
    ASSERT_EQ(list.As(&s1), S_OK);
    BSTR xml = nullptr;
    ASSERT_EQ(s1->GetSumsXml(&xml), S_OK);
    EXPECT_EQ(Take(xml), u"<S1SUMS><S1SUM VAL=\"10\" CSM=\"0\" FR=\"0\" CODE=\"101\" PJC=\"0\" SPZ=\"0\" DAYS=\"0\" H=\"0\" "
                         u"VR=\"0\"/><S1SUM VAL=\"20.5\" CSM=\"0\" FR=\"0\" CODE=\"102\" PJC=\"0\" SPZ=\"0\" DAYS=\"0\" "
                         u"H=\"0\" VR=\"0\"/></S1SUMS>");

    // A text of its own is taken instead of the object's list; code 0 cannot be a pay code.
    ComPtr<IUnknown> other;
    ASSERT_EQ(ri->CreateDistributionInPays(
                  Bstr(u"<RISUMS><RISUM CODE=\"0\" VAL=\"5\"/><RISUM CODE=\"9\" VAL=\"1\"/></RISUMS>"), other.GetAddressOf()),
              S_OK);
    ComPtr<IOrvS1Doc> s1b;
    ASSERT_EQ(other.As(&s1b), S_OK);
    LONG code = 0;
    ASSERT_EQ(s1b->get_PayCode(0, &code), S_OK);
    EXPECT_EQ(code, 9);
    EXPECT_EQ(ri->CreateDistributionInPays(Bstr(u"<RISUMS"), other.ReleaseAndGetAddressOf()), E_INVALIDARG);
    EXPECT_EQ(ri->CreateDistributionInPays(nullptr, nullptr), E_POINTER);
}

TEST(Distribution, AnObjectWithoutADocumentKeepsItsListInItself) {
    ComPtr<IOrvRIDoc> ri;
    ASSERT_EQ(orv::CreateObject<orv::OrvRIDoc>(&ri), S_OK);
    ASSERT_EQ(ri->put_DistributionAsString(Bstr(u"3 4")), S_OK);
    EXPECT_EQ(Line(ri.Get()), u"3 4");
}

}  // namespace
