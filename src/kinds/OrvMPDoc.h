// Pay transfer (types 8 and 300). Record fields: SumToAdd = Dcsum1, SumToPay =
// DcSum2, SumToTransfer = Dcms(0), StavkaToPay = Dcms(1), StavkaToDeduct =
// Dcms(2), AccountId = lDcdpod, BankDepNum = dcLong(0), NumToBePaid =
// LReserv2 (a whole number; a put rounds to the nearest). The recipient, the
// payment order and the sum list live in the "MVDOC" body (OrvMVDoc.h).
#pragma once

#include "kinds/OrvMVDoc.h"
#include "kinds/RecordFields.h"

namespace orv {

class OrvMPDoc : public MvdocKind<OrvMPDoc, &CLSID_OrvMPDoc, IOrvMPDoc, IDispatch, ISupportErrorInfo> {
public:
    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;
    HRESULT get_OrvDocument(IUnknown** pVal) override { return GetOrvDocument(pVal); }
    HRESULT ClearSums() override { return ClearSumsImpl(); }
    HRESULT get_SumsXml(BSTR* pVal) override { return GetSums(pVal); }
    HRESULT put_SumsXml(BSTR newVal) override { return PutSums(newVal); }
    HRESULT get_SumToAdd(CY* pVal) override { return GetSum(record::Sum::Dcsum1, pVal); }
    HRESULT put_SumToAdd(CY newVal) override { return PutSum(record::Sum::Dcsum1, newVal); }
    HRESULT get_SumToPay(CY* pVal) override { return GetSum(record::Sum::DcSum2, pVal); }
    HRESULT put_SumToPay(CY newVal) override { return PutSum(record::Sum::DcSum2, newVal); }
    HRESULT get_SumToTransfer(CY* pVal) override { return GetSum(record::Sum::Dcms0, pVal); }
    HRESULT put_SumToTransfer(CY newVal) override { return PutSum(record::Sum::Dcms0, newVal); }
    HRESULT get_StavkaToPay(CY* pVal) override { return GetSum(record::Sum::Dcms1, pVal); }
    HRESULT put_StavkaToPay(CY newVal) override { return PutSum(record::Sum::Dcms1, newVal); }
    HRESULT get_StavkaToDeduct(CY* pVal) override { return GetSum(record::Sum::Dcms2, pVal); }
    HRESULT put_StavkaToDeduct(CY newVal) override { return PutSum(record::Sum::Dcms2, newVal); }
    HRESULT get_AccountId(LONG* pVal) override;
    HRESULT put_AccountId(LONG newVal) override;
    HRESULT get_BankDepNum(LONG* pVal) override;
    HRESULT put_BankDepNum(LONG newVal) override;
    HRESULT get_NumToBePaid(double* pVal) override;
    HRESULT put_NumToBePaid(double newVal) override;
    HRESULT get_Recipient(BSTR* pVal) override;
    HRESULT put_Recipient(BSTR newVal) override;
    HRESULT get_NdflPaid(CY* pVal) override { return GetMoney(u"NdflPaid", pVal); }
    HRESULT put_NdflPaid(CY newVal) override { return PutMoney(u"NdflPaid", newVal); }
    HRESULT get_PlatPorNumber(BSTR* pVal) override { return GetText(u"PlatPorNumber", pVal); }
    HRESULT put_PlatPorNumber(BSTR newVal) override { return PutText(u"PlatPorNumber", newVal); }
    HRESULT get_PlatPorDate(DATE* pVal) override { return GetDate(u"PlatPorDate", pVal); }
    HRESULT put_PlatPorDate(DATE newVal) override { return PutDate(u"PlatPorDate", newVal); }
    HRESULT get_TotalNachis(CY* pVal) override { return GetMoney(u"TotalNachis", pVal); }
    HRESULT put_TotalNachis(CY newVal) override { return PutMoney(u"TotalNachis", newVal); }

private:
    HRESULT GetSum(record::Sum field, CY* pVal);
    HRESULT PutSum(record::Sum field, CY value);

    std::u16string recipient_;
};

}  // namespace orv
