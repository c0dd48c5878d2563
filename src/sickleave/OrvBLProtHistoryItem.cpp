#include "sickleave/OrvBLProtHistoryItem.h"

#include "kinds/ExtensionFields.h"
#include "sickleave/ValueElements.h"

namespace orv {
namespace {

using I = IOrvBLProtHistoryItem;
using Field = blvalues::PropertyElement<I>;
template <class T>
using P = blvalues::Property<I, T>;

const Field kFields[] = {
    {u"DAYS", P<LONG>{&I::get_Days, &I::put_Days}},
    {u"HOURS", P<LONG>{&I::get_Hours, &I::put_Hours}},
    {u"MONTH", P<double>{&I::get_Month, &I::put_Month}},
    {u"YEAR", P<LONG>{&I::get_Year, &I::put_Year}},
    {u"YEARLIM", P<CY>{&I::get_YearLimit, &I::put_YearLimit}},
    {u"SUMFORSREDN", P<CY>{&I::get_SumForSredn, &I::put_SumForSredn}},
    {u"SUMFORSREDN2", P<CY>{&I::get_SumForSredn2, &I::put_SumForSredn2}},
    {u"NDAYS", P<LONG>{&I::get_NormDays, &I::put_NormDays}},
    {u"NHOURS", P<LONG>{&I::get_NormHours, &I::put_NormHours}},
};

}  // namespace

void OrvBLProtHistoryItem::WriteElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, IOrvBLProtHistoryItem* item) {
    ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, parent, u"HISTORYITEM");
    blvalues::WriteProperties<I>(xml, element.Get(), item, kFields, IID_IOrvBLProtHistoryItem);
}

ComPtr<IOrvBLProtHistoryItem> OrvBLProtHistoryItem::ReadElement(IXMLDOMElement* element) {
    ComPtr<IOrvBLProtHistoryItem> item;
    Check(CreateObject<OrvBLProtHistoryItem>(&item), IID_IOrvBLProtHistoryItem);
    blvalues::ReadProperties<I>(element, item.Get(), kFields, IID_IOrvBLProtHistoryItem);
    return item;
}

}  // namespace orv
