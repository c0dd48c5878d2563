// Injected allocation failures through a sum-list kind (the pay sums, XML
// body): reading its list from the extension and writing it back.
#include "oom_walk.h"

#include "sumkinds/sum_support.h"

#include "kinds/OrvS1Doc.h"

namespace {

using namespace sumtest;
using oomtest::Describe;
using oomtest::Operation;

const std::u16string kBody =
    u"<S1SUMS>"
    u"<S1SUM VAL=\"1500.5\" CSM=\"2\" FR=\"3\" CODE=\"101\" PJC=\"4\" SPZ=\"5\" DAYS=\"10\" H=\"80\" VR=\"1\" "
    u"OSN=\"приказ № 5\" MEMO=\"за март\"/>"
    u"<S1SUM VAL=\"-0.01\" CSM=\"0\" FR=\"0\" CODE=\"202\" PJC=\"0\" SPZ=\"0\" DAYS=\"-1\" H=\"0\" VR=\"0\"/>"
    u"</S1SUMS>";

struct PaySums {
    ComPtr<IOrvDocument> doc;
    ComPtr<IOrvS1Doc> kind;
};

PaySums NewPaySums() {
    PaySums p;
    p.doc = Document(137, 1);
    p.kind = kindtest::KindOf<IOrvS1Doc>(p.doc.Get());
    return p;
}

// The list as the kind holds it and the body as the document holds it.
std::u16string StateOf(PaySums& p) {
    BSTR text = nullptr;
    EXPECT_EQ(p.kind->GetSumsXml(&text), S_OK);
    return Take(text) + u"|" + Text(p.doc.Get()) + u"|" + orv::Utf8ToUtf16(std::to_string(Length(p.doc.Get())));
}

TEST(SumKindOom, InitFromExtension) {
    Operation<PaySums> op{
        [] {
            PaySums p = NewPaySums();
            // One entry held already (merged with the body's) and the body to read.
            EXPECT_EQ(p.kind->AddSumsXml(Bstr(u"<S1SUMS><S1SUM CODE=\"101\" VAL=\"10\" DAYS=\"2\"/></S1SUMS>")), S_OK);
            SetText(p.doc.Get(), kBody);
            return p;
        },
        StateOf,
        [](PaySums& p, Describe*) { return p.kind->InitFromExtension(); }};
    oomtest::Report("pay sums InitFromExtension", oomtest::Walk(op));
}

TEST(SumKindOom, UpdateExtension) {
    Operation<PaySums> op{
        [] {
            PaySums p = NewPaySums();
            EXPECT_EQ(p.kind->AddSumsXml(Bstr(kBody)), S_OK);
            SetText(p.doc.Get(), u"<S1SUMS/>");
            return p;
        },
        StateOf,
        [](PaySums& p, Describe*) { return p.kind->UpdateExtension(); }};
    oomtest::Report("pay sums UpdateExtension", oomtest::Walk(op));
}

}  // namespace
