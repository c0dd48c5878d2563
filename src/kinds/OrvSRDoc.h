// Hours by day of the month and pay type (type 136), kept under "SRDOCEX":
//
//   <SRDOCEX ID="pay type"><D ID="day">hours</D>...</SRDOCEX>
//
// one "D" element, in day order, for each day 1..31 whose hours are not 0,
// with the hours as its text in the form of a VT_R8 value. Days outside
// 1..31 are refused with E_INVALIDARG; "D" elements naming such a day are
// skipped on reading, and a later "D" for a day replaces an earlier one.
#pragma once

#include "kinds/ExtensionFields.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/kinds_pattern.h>

#include <array>

namespace orv {

class OrvSRDoc : public ExtensionKind<OrvSRDoc, &CLSID_OrvSRDoc, IOrvSRDoc, IDispatch, ISupportErrorInfo> {
public:
    static constexpr const OLECHAR* kRoot = u"SRDOCEX";
    static constexpr LONG kDays = 31;

    void Decode(IXMLDOMElement* root);
    void Encode(IXMLDOMDocument* xml, IXMLDOMElement* root);

    HRESULT InitFromExtension() override { return InitFromExtensionImpl(); }
    HRESULT UpdateExtension() override { return UpdateExtensionImpl(); }
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override { return GetInitialized(pVal); }
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override { return PutInitialized(newVal); }
    HRESULT get_Hours(LONG nIndex, double* pVal) override;
    HRESULT put_Hours(LONG nIndex, double newVal) override;
    HRESULT get_PayType(LONG* pVal) override;
    HRESULT put_PayType(LONG newVal) override;

private:
    static bool IsDay(LONG day) noexcept { return day >= 1 && day <= kDays; }

    std::array<double, kDays> hours_{};  // day d at d - 1
    LONG payType_ = 0;
};

}  // namespace orv
