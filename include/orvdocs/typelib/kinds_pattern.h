// The specific kinds that follow the common pattern without rules of their
// own: each keeps a few texts, dates or numbers in an XML extension body whose
// root names the kind (the vacation-protocol kind VV keeps only a protocol
// object). Members are in dispid order; docs/typelib-kinds1.md lists them with
// the attribute each property is kept in.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvVVDoc = {0xB22C1673, 0xB9BA, 0x42F6, {0xAA, 0x02, 0xCE, 0x88, 0xB4, 0xCA, 0xED, 0x8E}};
inline constexpr IID IID_IOrvSRDoc = {0x3F4194F2, 0x1197, 0x4FA1, {0x95, 0x57, 0xF7, 0xFC, 0xDA, 0x4E, 0x20, 0x2B}};
inline constexpr IID IID_IOrvTVDoc = {0x608652A9, 0xE2C4, 0x4755, {0x92, 0xC0, 0x17, 0xA5, 0x86, 0xD1, 0x7D, 0xF2}};
inline constexpr IID IID_IOrvZZDoc = {0x36B862C7, 0x1C5E, 0x476F, {0xBB, 0x64, 0x80, 0xDA, 0xB6, 0xDD, 0x6E, 0x92}};
inline constexpr IID IID_IOrvMGDoc = {0x2868A321, 0xA3D5, 0x428D, {0xB4, 0xDE, 0xAF, 0x6D, 0xD5, 0xC1, 0x75, 0x4B}};
inline constexpr IID IID_IOrvMIDoc = {0x75F17C8D, 0xA191, 0x45B8, {0xA9, 0x10, 0x61, 0x6C, 0xC2, 0x75, 0x8D, 0x8A}};
inline constexpr IID IID_IOrvIJDoc = {0x0B46D7AD, 0xE8DA, 0x4F9C, {0x9E, 0xF2, 0x37, 0x5B, 0x98, 0x4F, 0xB9, 0x90}};
inline constexpr IID IID_IOrvJBDoc = {0xF819F2F0, 0x97BD, 0x4784, {0xB8, 0x2F, 0x19, 0xE8, 0x1F, 0xB8, 0xDB, 0x26}};
inline constexpr IID IID_IOrvMDDoc = {0xE55825E8, 0xC993, 0x4D9D, {0xB5, 0x2E, 0x60, 0x42, 0xFE, 0x32, 0x3F, 0xF0}};
inline constexpr IID IID_IOrvMYDoc = {0x96AC1DB3, 0x8DA4, 0x4157, {0xAF, 0x41, 0x78, 0x34, 0x83, 0xE0, 0xA8, 0x64}};

// Vacation protocol holder (type 349): the vacation object bound to the same
// generic document.
struct IOrvVVDoc : IDispatch {
    virtual HRESULT get_OtProtocol(IUnknown** pVal) = 0;    // [1]
    virtual HRESULT put_OtProtocol(IUnknown* newVal) = 0;   // [1]
};
ORV_DECLARE_IID(IOrvVVDoc);
ORV_TYPEINFO_DECL(IOrvVVDoc);

// Hours by day of the month and pay type (type 136), root "SRDOCEX".
struct IOrvSRDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_Hours(LONG nIndex, double* pVal) = 0;       // [4] day 1..31
    virtual HRESULT put_Hours(LONG nIndex, double newVal) = 0;      // [4]
    virtual HRESULT get_PayType(LONG* pVal) = 0;                    // [5]
    virtual HRESULT put_PayType(LONG newVal) = 0;                   // [5]
};
ORV_DECLARE_IID(IOrvSRDoc);
ORV_TYPEINFO_DECL(IOrvSRDoc);

// Norm and actual schedule texts (type 250), root "TVEXT". The "2" forms read
// and write the same texts as their plain twins.
struct IOrvTVDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_NormGrafic(BSTR* pVal) = 0;                 // [4]
    virtual HRESULT put_NormGrafic(BSTR newVal) = 0;                // [4]
    virtual HRESULT get_FactGrafic(BSTR* pVal) = 0;                 // [5]
    virtual HRESULT put_FactGrafic(BSTR newVal) = 0;                // [5]
    virtual HRESULT get_NormGrafic2(BSTR* pVal) = 0;                // [6]
    virtual HRESULT put_NormGrafic2(BSTR newVal) = 0;               // [6]
    virtual HRESULT get_FactGrafic2(BSTR* pVal) = 0;                // [7]
    virtual HRESULT put_FactGrafic2(BSTR newVal) = 0;               // [7]
    virtual HRESULT get_OrvDocument(IUnknown** pVal) = 0;           // [8]
    virtual HRESULT put_OrvDocument(IUnknown* newVal) = 0;          // [8] E_NOTIMPL
};
ORV_DECLARE_IID(IOrvTVDoc);
ORV_TYPEINFO_DECL(IOrvTVDoc);

// Recipient and address (type 332), root "ZZDOCEX".
struct IOrvZZDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_Recipient(BSTR* pVal) = 0;                  // [4]
    virtual HRESULT put_Recipient(BSTR newVal) = 0;                 // [4]
    virtual HRESULT get_AddressString(BSTR* pVal) = 0;              // [5]
    virtual HRESULT put_AddressString(BSTR newVal) = 0;             // [5]
};
ORV_DECLARE_IID(IOrvZZDoc);
ORV_TYPEINFO_DECL(IOrvZZDoc);

// Schedules by financing source (type 356), root "MGGRAFICS".
struct IOrvMGDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_Grafic(LONG lFinRoot, BSTR* pVal) = 0;      // [4]
    virtual HRESULT put_Grafic(LONG lFinRoot, BSTR newVal) = 0;     // [4]
    virtual HRESULT get_GrTotal(LONG lFinRoot, double* pVal) = 0;   // [5]
    virtual HRESULT put_GrTotal(LONG lFinRoot, double newVal) = 0;  // [5]
};
ORV_DECLARE_IID(IOrvMGDoc);
ORV_TYPEINFO_DECL(IOrvMGDoc);

// Medical inspection (type 361), root "MIDOCEX".
struct IOrvMIDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_FirstInspection(BSTR* pVal) = 0;            // [3]
    virtual HRESULT put_FirstInspection(BSTR newVal) = 0;           // [3]
    virtual HRESULT get_NumberFLG(BSTR* pVal) = 0;                  // [4]
    virtual HRESULT put_NumberFLG(BSTR newVal) = 0;                 // [4]
    virtual HRESULT get_SanGigienEdu(BSTR* pVal) = 0;               // [5]
    virtual HRESULT put_SanGigienEdu(BSTR newVal) = 0;              // [5]
};
ORV_DECLARE_IID(IOrvMIDoc);
ORV_TYPEINFO_DECL(IOrvMIDoc);

// Vaccinations by index 1, 2, ... (type 362), root "IJDOCEX".
struct IOrvIJDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IJName(LONG lIndex, BSTR* pVal) = 0;        // [3]
    virtual HRESULT put_IJName(LONG lIndex, BSTR newVal) = 0;       // [3]
    virtual HRESULT get_IJDate(LONG lIndex, DATE* pVal) = 0;        // [4]
    virtual HRESULT put_IJDate(LONG lIndex, DATE newVal) = 0;       // [4]
    virtual HRESULT get_IJSeria(LONG lIndex, BSTR* pVal) = 0;       // [5]
    virtual HRESULT put_IJSeria(LONG lIndex, BSTR newVal) = 0;      // [5]
};
ORV_DECLARE_IID(IOrvIJDoc);
ORV_TYPEINFO_DECL(IOrvIJDoc);

// Job record (types 396, 402-405, 411, 413, 414, 420, 421, 423, 424), root "JBDOCEX".
struct IOrvJBDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_Name(BSTR* pVal) = 0;                       // [4]
    virtual HRESULT put_Name(BSTR newVal) = 0;                      // [4]
    virtual HRESULT get_Position(BSTR* pVal) = 0;                   // [5]
    virtual HRESULT put_Position(BSTR newVal) = 0;                  // [5]
    virtual HRESULT get_Kurs(BSTR* pVal) = 0;                       // [6]
    virtual HRESULT put_Kurs(BSTR newVal) = 0;                      // [6]
    virtual HRESULT get_StagFullBefore(BSTR* pVal) = 0;             // [7]
    virtual HRESULT put_StagFullBefore(BSTR newVal) = 0;            // [7]
    virtual HRESULT get_StagContBefore(BSTR* pVal) = 0;             // [8]
    virtual HRESULT put_StagContBefore(BSTR newVal) = 0;            // [8]
    virtual HRESULT get_LgStag(BSTR* pVal) = 0;                     // [9]
    virtual HRESULT put_LgStag(BSTR newVal) = 0;                    // [9]
    virtual HRESULT get_MaxContStag(BSTR* pVal) = 0;                // [10]
    virtual HRESULT put_MaxContStag(BSTR newVal) = 0;               // [10]
    virtual HRESULT get_StagFullBeforePeriods(BSTR* pVal) = 0;      // [11]
    virtual HRESULT put_StagFullBeforePeriods(BSTR newVal) = 0;     // [11]
};
ORV_DECLARE_IID(IOrvJBDoc);
ORV_TYPEINFO_DECL(IOrvJBDoc);

// Medical certificate (type 407), root "MDDOCEX".
struct IOrvMDDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_SprNumber(BSTR* pVal) = 0;                  // [4]
    virtual HRESULT put_SprNumber(BSTR newVal) = 0;                 // [4]
    virtual HRESULT get_SprSrok(BSTR* pVal) = 0;                    // [5]
    virtual HRESULT put_SprSrok(BSTR newVal) = 0;                   // [5]
    virtual HRESULT get_SprIssueDate(DATE* pVal) = 0;               // [6]
    virtual HRESULT put_SprIssueDate(DATE newVal) = 0;              // [6]
};
ORV_DECLARE_IID(IOrvMDDoc);
ORV_TYPEINFO_DECL(IOrvMDDoc);

// Military registration (type 408), root "MYDOCEX".
struct IOrvMYDoc : IDispatch {
    virtual HRESULT InitFromExtension() = 0;                        // [1]
    virtual HRESULT UpdateExtension() = 0;                          // [2]
    virtual HRESULT get_IsInitialized(VARIANT_BOOL* pVal) = 0;      // [3]
    virtual HRESULT put_IsInitialized(VARIANT_BOOL newVal) = 0;     // [3]
    virtual HRESULT get_MilitaryOffice(BSTR* pVal) = 0;             // [4]  "VK"
    virtual HRESULT put_MilitaryOffice(BSTR newVal) = 0;            // [4]
    virtual HRESULT get_MilitaryRank(BSTR* pVal) = 0;               // [5]  "SA"
    virtual HRESULT put_MilitaryRank(BSTR newVal) = 0;              // [5]
    virtual HRESULT get_ReserveCategory(BSTR* pVal) = 0;            // [6]  "CA"
    virtual HRESULT put_ReserveCategory(BSTR newVal) = 0;           // [6]
    virtual HRESULT get_SpecialtyCode(BSTR* pVal) = 0;              // [7]  "AC"
    virtual HRESULT put_SpecialtyCode(BSTR newVal) = 0;             // [7]
    virtual HRESULT get_SpecialtyName(BSTR* pVal) = 0;              // [8]  "ACNAM"
    virtual HRESULT put_SpecialtyName(BSTR newVal) = 0;             // [8]
    virtual HRESULT get_FitnessCategory(BSTR* pVal) = 0;            // [9]  "CN"
    virtual HRESULT put_FitnessCategory(BSTR newVal) = 0;           // [9]
    virtual HRESULT get_TicketNumber(BSTR* pVal) = 0;               // [10] "TCKNUM"
    virtual HRESULT put_TicketNumber(BSTR newVal) = 0;              // [10]
    virtual HRESULT get_TicketDate(DATE* pVal) = 0;                 // [11] "TCKDAT"
    virtual HRESULT put_TicketDate(DATE newVal) = 0;                // [11]
    virtual HRESULT get_RegistrationGroup(BSTR* pVal) = 0;          // [12] "GRP"
    virtual HRESULT put_RegistrationGroup(BSTR newVal) = 0;         // [12]
    virtual HRESULT get_RegistrationMark(BSTR* pVal) = 0;           // [13] "OTM"
    virtual HRESULT put_RegistrationMark(BSTR newVal) = 0;          // [13]
    virtual HRESULT get_ServiceStart(DATE* pVal) = 0;               // [14] "SRVST"
    virtual HRESULT put_ServiceStart(DATE newVal) = 0;              // [14]
    virtual HRESULT get_ServiceEnd(DATE* pVal) = 0;                 // [15] "SRVEND"
    virtual HRESULT put_ServiceEnd(DATE newVal) = 0;                // [15]
};
ORV_DECLARE_IID(IOrvMYDoc);
ORV_TYPEINFO_DECL(IOrvMYDoc);
