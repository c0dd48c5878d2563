#include "sickleave/OrvBlProtPayMonthItem.h"

#include "kinds/ExtensionFields.h"
#include "sickleave/ValueElements.h"

namespace orv {
namespace {

using I = IOrvBlProtPayMonthItem;
using Field = blvalues::PropertyElement<I>;
template <class T>
using P = blvalues::Property<I, T>;

const Field kFields[] = {
    {u"DAYS", P<LONG>{&I::get_Days, &I::put_Days}},
    {u"FIRSTSREDN", P<CY>{&I::get_FirstSredn, &I::put_FirstSredn}},
    {u"HOURS", P<LONG>{&I::get_Hours, &I::put_Hours}},
    {u"MONTH", P<double>{&I::get_Month, &I::put_Month}},
    {u"MONTHLIMIT", P<CY>{&I::get_MonthLimit, &I::put_MonthLimit}},
    {u"NORMDAYS", P<LONG>{&I::get_NormDays, &I::put_NormDays}},
    {u"NORMHOURS", P<LONG>{&I::get_NormHours, &I::put_NormHours}},
    {u"OKLAD", P<CY>{&I::get_Oklad, &I::put_Oklad}},
    {u"OKLADWITHNADB", P<CY>{&I::get_OkladWithNadb, &I::put_OkladWithNadb}},
    {u"PROCSREDN", P<CY>{&I::get_ProcSredn, &I::put_ProcSredn}},
    {u"SECONDSREDN", P<CY>{&I::get_SecondSredn, &I::put_SecondSredn}},
    {u"SUM", P<CY>{&I::get_Sum, &I::put_Sum}},
    {u"SUM2", P<CY>{&I::get_Sum2, &I::put_Sum2}},
    {u"CSUM", P<CY>{&I::get_CompanySum, &I::put_CompanySum}},
    {u"CDAYS", P<LONG>{&I::get_CompanyDays, &I::put_CompanyDays}},
    {u"CHOURS", P<LONG>{&I::get_CompanyHours, &I::put_CompanyHours}},
    {u"SCSUM", P<CY>{&I::get_CompanySimpleSum, &I::put_CompanySimpleSum}},
    {u"SCDAYS", P<LONG>{&I::get_CompanySimpleDays, &I::put_CompanySimpleDays}},
    {u"SCHOURS", P<LONG>{&I::get_CompanySimpleHours, &I::put_CompanySimpleHours}},
    {u"VIPBASE", P<CY>{&I::get_VipBase, &I::put_VipBase}},
    {u"VIPSREDN", P<CY>{&I::get_VipSredn, &I::put_VipSredn}},
    {u"WHOURS", P<LONG>{&I::get_WorkedHours, &I::put_WorkedHours}},
};

}  // namespace

void OrvBlProtPayMonthItem::WriteElement(IXMLDOMDocument* xml, IXMLDOMElement* parent, IOrvBlProtPayMonthItem* item) {
    ComPtr<IXMLDOMElement> element = ext::AppendElement(xml, parent, u"PAYMONTHITEM");
    blvalues::WriteProperties<I>(xml, element.Get(), item, kFields, IID_IOrvBlProtPayMonthItem);
}

ComPtr<IOrvBlProtPayMonthItem> OrvBlProtPayMonthItem::ReadElement(IXMLDOMElement* element) {
    ComPtr<IOrvBlProtPayMonthItem> item;
    Check(CreateObject<OrvBlProtPayMonthItem>(&item), IID_IOrvBlProtPayMonthItem);
    blvalues::ReadProperties<I>(element, item.Get(), kFields, IID_IOrvBlProtPayMonthItem);
    return item;
}

}  // namespace orv
