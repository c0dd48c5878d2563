// The sick-leave document (type code 21): the specific object of a generic
// document of kind BL.
//
// It works on two stores of its generic document:
//  - the flag word, kept in the record as Dcms(1) counted in hundredths,
//    behind nine properties; and the "continuation" bit 0x20 of Dfl behind
//    StartOfBulleten. These are written into the document at once;
//  - the extension body, XML with the root "EXT" holding the descriptive
//    texts and the protocol ("BLPR5"), or a bare "BLPR5" document, or, in
//    older documents, the legacy binary protocol record. The texts live in
//    this object between InitFromExtension and UpdateExtension.
//
// The object also serves the enumeration of the sick-leave types
// (IOrvENUMBlTypes, a new tear-off for each query).
#pragma once

#include "kinds/KindBase.h"
#include "sickleave/TypeTable.h"

#include <orvdocs/typelib/classes.h>
#include <orvdocs/typelib/sickleave.h>

#include <string>

namespace orv {

class OrvBLDoc : public SpecificObject<OrvBLDoc, &CLSID_OrvBLDoc, IOrvBLDoc, IDispatch, ISupportErrorInfo,
                                       TearOff<IOrvENUMBlTypes, TypeTableTearOff<OrvBLDoc>>> {
public:
    static std::span<const TypeRow> TypeRows() noexcept { return SickLeaveTypeRows(); }
    static constexpr auto kTypeFilter = TypeTableEnumerator::Filter::FromDatabase;

    // The sick-leave document's own step of the hand-over, run right after it
    // receives its document: the access type becomes 1 when the session of
    // the document's database service answers a non-zero access type, else 0.
    // Without a database service it stays 0.
    HRESULT DocumentAttached();

    // The access type handed to every protocol this object creates.
    LONG AccessType() noexcept;

    // Bits of the flag word.
    static constexpr LONG kCalDaysBased = 0x64;
    static constexpr LONG kHoursBasedOne = 0x100;
    static constexpr LONG kHoursBasedZero = 0x200;
    static constexpr LONG kOverTimePlus = 0x400;
    static constexpr LONG kXmlBasedProtocol = 0x800;
    static constexpr LONG kVaccination = 0x1000;
    static constexpr LONG kPainfulIllness = 0x2000;
    static constexpr LONG kBabyInvalid = 0x4000;
    static constexpr LONG kRegimeViolation = 0x8000;
    static constexpr LONG kCompanyFullyPaid = 0x10000;
    // The bit of Dfl that marks a continuation sheet.
    static constexpr LONG kContinuation = 0x20;

    // ------------------------------------------------------------ IOrvBLDoc
    HRESULT get_BlProtocol(IUnknown** pVal) override;
    HRESULT put_BlProtocol(IUnknown* newVal) override;
    HRESULT get_CalDaysBased(VARIANT_BOOL* pVal) override;
    HRESULT put_CalDaysBased(VARIANT_BOOL newVal) override;
    HRESULT get_HoursBased(LONG* pVal) override;
    HRESULT put_HoursBased(LONG newVal) override;
    HRESULT get_StartOfBulleten(VARIANT_BOOL* pVal) override;
    HRESULT put_StartOfBulleten(VARIANT_BOOL newVal) override;
    HRESULT get_OverTimePlus(VARIANT_BOOL* pVal) override { return GetFlag(kOverTimePlus, 1, pVal); }
    HRESULT put_OverTimePlus(VARIANT_BOOL newVal) override { return PutFlag(kOverTimePlus, newVal); }
    HRESULT get_xmlBasedProtocol(VARIANT_BOOL* pVal) override { return GetFlag(kXmlBasedProtocol, VARIANT_TRUE, pVal); }
    HRESULT put_xmlBasedProtocol(VARIANT_BOOL newVal) override;
    HRESULT InitFromExtension() override;
    HRESULT UpdateExtension() override;
    HRESULT get_IsInitialized(VARIANT_BOOL* pVal) override;
    HRESULT put_IsInitialized(VARIANT_BOOL newVal) override;
    HRESULT get_RelativeName(BSTR* pVal) override { return GetText(relativeName_, pVal); }
    HRESULT put_RelativeName(BSTR newVal) override { return PutText(relativeName_, newVal); }
    HRESULT get_RelativeBirthDay(DATE* pVal) override;
    HRESULT put_RelativeBirthDay(DATE newVal) override;
    HRESULT get_RelativeBirthYear(LONG* pVal) override;
    HRESULT put_RelativeBirthYear(LONG newVal) override;
    HRESULT get_Vaccination(VARIANT_BOOL* pVal) override { return GetFlag(kVaccination, 1, pVal); }
    HRESULT put_Vaccination(VARIANT_BOOL newVal) override { return PutFlag(kVaccination, newVal); }
    HRESULT get_PainfulIllness(VARIANT_BOOL* pVal) override { return GetFlag(kPainfulIllness, 1, pVal); }
    HRESULT put_PainfulIllness(VARIANT_BOOL newVal) override { return PutFlag(kPainfulIllness, newVal); }
    HRESULT get_BabyInvalid(VARIANT_BOOL* pVal) override { return GetFlag(kBabyInvalid, 1, pVal); }
    HRESULT put_BabyInvalid(VARIANT_BOOL newVal) override { return PutFlag(kBabyInvalid, newVal); }
    HRESULT get_RegimeViolation(VARIANT_BOOL* pVal) override { return GetFlag(kRegimeViolation, 1, pVal); }
    HRESULT put_RegimeViolation(VARIANT_BOOL newVal) override { return PutFlag(kRegimeViolation, newVal); }
    HRESULT get_YearsForAverage(BSTR* pVal) override { return GetText(yearsForAverage_, pVal); }
    HRESULT put_YearsForAverage(BSTR newVal) override { return PutText(yearsForAverage_, newVal); }
    HRESULT get_CompanyFullyPaid(VARIANT_BOOL* pVal) override { return GetFlag(kCompanyFullyPaid, 1, pVal); }
    HRESULT put_CompanyFullyPaid(VARIANT_BOOL newVal) override { return PutFlag(kCompanyFullyPaid, newVal); }
    HRESULT get_MedicalInstitution(BSTR* pVal) override { return GetText(medicalInstitution_, pVal); }
    HRESULT put_MedicalInstitution(BSTR newVal) override { return PutText(medicalInstitution_, newVal); }
    HRESULT get_DoctorFIO(BSTR* pVal) override { return GetText(doctorFio_, pVal); }
    HRESULT put_DoctorFIO(BSTR newVal) override { return PutText(doctorFio_, newVal); }

private:
    // The flag word: Dcms(1) as a count of hundredths (rounded half away from
    // zero), its low 32 bits; written back as word x 100 raw currency units.
    LONG ReadFlags();
    void WriteFlags(LONG word);
    // A flag property: get answers `on` when any bit of mask is set, else 0;
    // put sets (any non-zero value) or clears every bit of mask.
    HRESULT GetFlag(LONG mask, VARIANT_BOOL on, VARIANT_BOOL* pVal);
    HRESULT PutFlag(LONG mask, VARIANT_BOOL newVal);
    // Sets bit 0x800 in the word of both access-type views of the record.
    void MarkXmlBased();
    HRESULT GetText(const std::u16string& field, BSTR* pVal);
    HRESULT PutText(std::u16string& field, BSTR newVal);
    // Whether a body is XML: flag bit 0x800 set, or more than five
    // characters holding "<EXT>".
    bool IsXmlBody(BSTR body);
    ComPtr<IOrvDocExtension> Extension();

    std::u16string relativeName_;
    std::u16string yearsForAverage_;
    std::u16string medicalInstitution_;
    std::u16string doctorFio_;
    DATE relativeBirthDay_ = 0.0;
    LONG relativeBirthYear_ = 0;
    VARIANT_BOOL initialized_ = VARIANT_FALSE;
    ComPtr<IXMLDOMDocument> xml_;
    ComPtr<IXMLDOMNode> protocolElement_;  // the "BLPR5" of the extension, or null
    LONG accessType_ = 0;
};

}  // namespace orv
