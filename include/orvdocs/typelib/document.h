// The generic document: its custom interface, its dual twin and the
// extension object that every document aggregates.
#pragma once

#include <orvdocs/platform/oleauto.h>
#include <orvdocs/typelib/typeinfo_decl.h>

inline constexpr IID IID_IOrvDocument = {0x4EAF7A5F, 0xAFB4, 0x11D3, {0xB8, 0xF1, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};
inline constexpr IID IID_IOrvDocumentDisp = {0x4516FC55, 0x835D, 0x450A, {0xA7, 0x6C, 0x6B, 0x5C, 0x36, 0x9B, 0xBC, 0xFE}};
inline constexpr IID IID_IOrvDocExtension = {0xA5774BC3, 0xBB63, 0x11D3, {0xB8, 0xF8, 0x00, 0x00, 0xC0, 0xA3, 0xE6, 0xF3}};

// The members of the generic document, in slot order. IOrvDocument (custom)
// and IOrvDocumentDisp (dual) are two interfaces with the same members, names
// and behaviour; both expand this one list so that they cannot drift apart.
// A class that derives from both implements each member once.
// Dispids of the dual twin are in brackets (one per property).
#define ORV_IORVDOCUMENT_MEMBERS                                                                          \
    /* record fields and the fields kept beside the record */                                            \
    virtual HRESULT get_DocRecord(BSTR* pVal) = 0;                   /* [1] 304 bytes */                  \
    virtual HRESULT put_DocRecord(BSTR newVal) = 0;                                                       \
    virtual HRESULT get_lDcType(LONG* pVal) = 0;                     /* [2] */                            \
    virtual HRESULT put_lDcType(LONG newVal) = 0;                                                         \
    virtual HRESULT get_DcType(BSTR* pVal) = 0;                      /* [3] */                            \
    virtual HRESULT put_DcType(BSTR newVal) = 0;                                                          \
    virtual HRESULT get_dtDn(DATE* pVal) = 0;                        /* [4] */                            \
    virtual HRESULT put_dtDn(DATE newVal) = 0;                                                            \
    virtual HRESULT get_dtDk(DATE* pVal) = 0;                        /* [5] */                            \
    virtual HRESULT put_dtDk(DATE newVal) = 0;                                                            \
    virtual HRESULT get_EnteringDate(DATE* pVal) = 0;                /* [6] */                            \
    virtual HRESULT put_EnteringDate(DATE newVal) = 0;                                                    \
    virtual HRESULT get_T1(LONG* pVal) = 0;                          /* [7] */                            \
    virtual HRESULT put_T1(LONG newVal) = 0;                                                              \
    virtual HRESULT get_lDcId(LONG* pVal) = 0;                       /* [8] */                            \
    virtual HRESULT put_lDcId(LONG newVal) = 0;                                                           \
    virtual HRESULT get_DcDat1(LONG* pVal) = 0;                      /* [9] */                            \
    virtual HRESULT put_DcDat1(LONG newVal) = 0;                                                          \
    virtual HRESULT get_Dfl(LONG* pVal) = 0;                         /* [10] */                           \
    virtual HRESULT put_Dfl(LONG newVal) = 0;                                                             \
    virtual HRESULT get_CodeShpz(SHORT* pVal) = 0;                   /* [11] */                           \
    virtual HRESULT put_CodeShpz(SHORT newVal) = 0;                                                       \
    virtual HRESULT get_CodeVidRab(SHORT* pVal) = 0;                 /* [12] */                           \
    virtual HRESULT put_CodeVidRab(SHORT newVal) = 0;                                                     \
    virtual HRESULT get_ProjectCode(SHORT* pVal) = 0;                /* [13] */                           \
    virtual HRESULT put_ProjectCode(SHORT newVal) = 0;                                                    \
    virtual HRESULT get_CodeFinRoot(SHORT* pVal) = 0;                /* [14] */                           \
    virtual HRESULT put_CodeFinRoot(SHORT newVal) = 0;                                                    \
    virtual HRESULT get_shAccsType(LONG* pVal) = 0;                  /* [15] */                           \
    virtual HRESULT put_shAccsType(LONG newVal) = 0;                                                      \
    virtual HRESULT get_StaffOrderId(LONG* pVal) = 0;                /* [16] */                           \
    virtual HRESULT put_StaffOrderId(LONG newVal) = 0;                                                    \
    virtual HRESULT get_xlNewReserv(LONG* pVal) = 0;                 /* [17] */                           \
    virtual HRESULT put_xlNewReserv(LONG newVal) = 0;                                                     \
    virtual HRESULT get_DcOsn(BSTR* pVal) = 0;                       /* [18] */                           \
    virtual HRESULT put_DcOsn(BSTR newVal) = 0;                                                           \
    virtual HRESULT get_Memo(BSTR* pVal) = 0;                        /* [19] */                           \
    virtual HRESULT put_Memo(BSTR newVal) = 0;                                                            \
    virtual HRESULT get_Dcsum1(CY* pVal) = 0;                        /* [20] */                           \
    virtual HRESULT put_Dcsum1(CY newVal) = 0;                                                            \
    virtual HRESULT get_DcSum2(CY* pVal) = 0;                        /* [21] */                           \
    virtual HRESULT put_DcSum2(CY newVal) = 0;                                                            \
    virtual HRESULT get_DcSum3(CY* pVal) = 0;                        /* [22] */                           \
    virtual HRESULT put_DcSum3(CY newVal) = 0;                                                            \
    virtual HRESULT get_DcDolg(CY* pVal) = 0;                        /* [23] */                           \
    virtual HRESULT put_DcDolg(CY newVal) = 0;                                                            \
    virtual HRESULT get_DolgOld(CY* pVal) = 0;                       /* [24] */                           \
    virtual HRESULT put_DolgOld(CY newVal) = 0;                                                           \
    virtual HRESULT get_Dcms(SHORT shIndex, CY* pVal) = 0;           /* [25] index 0..2 */                \
    virtual HRESULT put_Dcms(SHORT shIndex, CY newVal) = 0;                                               \
    virtual HRESULT get_lDcProc(LONG* pVal) = 0;                     /* [26] */                           \
    virtual HRESULT put_lDcProc(LONG newVal) = 0;                                                         \
    virtual HRESULT get_lDcdpod(LONG* pVal) = 0;                     /* [27] */                           \
    virtual HRESULT put_lDcdpod(LONG newVal) = 0;                                                         \
    virtual HRESULT get_LReserv2(LONG* pVal) = 0;                    /* [28] */                           \
    virtual HRESULT put_LReserv2(LONG newVal) = 0;                                                        \
    virtual HRESULT get_dcLong(LONG nIndex, LONG* pVal) = 0;         /* [29] index 0..4 */                \
    virtual HRESULT put_dcLong(LONG nIndex, LONG newVal) = 0;                                             \
    virtual HRESULT get_dcShort(LONG nIndex, SHORT* pVal) = 0;       /* [30] index 0..1 */                \
    virtual HRESULT put_dcShort(LONG nIndex, SHORT newVal) = 0;                                           \
    virtual HRESULT get_lDcRsrv(LONG nIndex, LONG* pVal) = 0;        /* [31] index 0..4 */                \
    virtual HRESULT put_lDcRsrv(LONG nIndex, LONG newVal) = 0;                                            \
    virtual HRESULT get_LastModificationDate(DATE* pVal) = 0;        /* [32] */                           \
    virtual HRESULT put_LastModificationDate(DATE newVal) = 0;                                            \
    virtual HRESULT get_TemporaryEnd(DATE* pVal) = 0;                /* [33] */                           \
    virtual HRESULT put_TemporaryEnd(DATE newVal) = 0;                                                    \
    virtual HRESULT get_AbsenteeTabno(BSTR* pVal) = 0;               /* [34] */                           \
    virtual HRESULT put_AbsenteeTabno(BSTR newVal) = 0;                                                   \
    virtual HRESULT get_IsTemporary(VARIANT_BOOL* pVal) = 0;         /* [35] */                           \
    virtual HRESULT put_IsTemporary(VARIANT_BOOL newVal) = 0;                                             \
    virtual HRESULT get_RecalculationBlocked(VARIANT_BOOL* pVal) = 0; /* [36] */                          \
    virtual HRESULT put_RecalculationBlocked(VARIANT_BOOL newVal) = 0;                                    \
    virtual HRESULT get_CurrencyId(LONG* pVal) = 0;                  /* [37] */                           \
    virtual HRESULT put_CurrencyId(LONG newVal) = 0;                                                      \
    virtual HRESULT get_Rate(CY* pVal) = 0;                          /* [38] */                           \
    virtual HRESULT put_Rate(CY newVal) = 0;                                                              \
    virtual HRESULT get_DB_ADDR(ULONG* pVal) = 0;                    /* [39] */                           \
    virtual HRESULT put_DB_ADDR(ULONG newVal) = 0;                                                        \
    virtual HRESULT get_TimeStamp(ULONG* pVal) = 0;                  /* [40] */                           \
    virtual HRESULT put_TimeStamp(ULONG newVal) = 0;                                                      \
    virtual HRESULT get_AT(LONG* pVal) = 0;                          /* [41] */                           \
    virtual HRESULT put_AT(LONG newVal) = 0;                                                              \
    virtual HRESULT get_RecalculationDate(DATE* pVal) = 0;           /* [42] */                           \
    virtual HRESULT put_RecalculationDate(DATE newVal) = 0;                                               \
    virtual HRESULT get_RecordCondition(LONG* pVal) = 0;             /* [43] */                           \
    virtual HRESULT put_RecordCondition(LONG newVal) = 0;                                                 \
    virtual HRESULT get_SkipReadingDocExt(LONG* pVal) = 0;           /* [44] */                           \
    virtual HRESULT put_SkipReadingDocExt(LONG newVal) = 0;                                               \
    virtual HRESULT get_ExtensionInitialized(VARIANT_BOOL* pVal) = 0; /* [45] */                          \
    virtual HRESULT put_ExtensionInitialized(VARIANT_BOOL newVal) = 0;                                    \
    virtual HRESULT get_IsConnectedToDB(VARIANT_BOOL* pVal) = 0;     /* [46] get only */                  \
    /* the document as a whole */                                                                        \
    virtual HRESULT get_OrvBD(IUnknown** pVal) = 0;                  /* [47] the database service */      \
    virtual HRESULT put_OrvBD(IUnknown* newVal) = 0;                                                      \
    virtual HRESULT GetSpecificObj(IUnknown** punkDocument) = 0;     /* [48] */                           \
    virtual HRESULT GetSpecificObj2(IDispatch** pdispDocument) = 0;  /* [49] */                           \
    virtual HRESULT Clone(IUnknown** ppunkDocument) = 0;             /* [50] */                           \
    virtual HRESULT Compare(IUnknown* punkDocument) = 0;             /* [51] */                           \
    virtual HRESULT get_DisplayString(BSTR* pVal) = 0;               /* [52] get only */                  \
    virtual HRESULT MakeAsNew() = 0;                                 /* [53] */                           \
    virtual HRESULT ClearRecordCondition() = 0;                      /* [54] */                           \
    /* the extension */                                                                                  \
    virtual HRESULT InitInnerDocExtension(LONG lPipeId, LONG* plResult) = 0;                     /* [55] */ \
    virtual HRESULT GetDocExtension(LONG lPipeId, IUnknown** ppunkOrvDocExtension, LONG* plResult) = 0; /* [56] */ \
    virtual HRESULT Update(LONG lPipeId) = 0;                                                    /* [57] */ \
    /* sum collectors and the year-based sum */                                                  \
    virtual HRESULT AddSumCollector(LONG lId, IUnknown* pUnk) = 0;                               /* [58] */ \
    virtual HRESULT get_ExSum(LONG lId, IUnknown** pVal) = 0;                                    /* [59] */ \
    virtual HRESULT put_ExSum(LONG lId, IUnknown* newVal) = 0;                                   \
    virtual HRESULT ResetSumCollectors() = 0;                                                    /* [60] */ \
    virtual HRESULT NextSumCollector(LONG* plId, IUnknown** ppUnk) = 0;                          /* [61] */ \
    virtual HRESULT CleanSumCollectors() = 0;                                                    /* [62] */ \
    virtual HRESULT InitCollectors(LONG lPipeId) = 0;                                            /* [63] */ \
    virtual HRESULT CalculateYearBasedSumOnDate(DATE dtOnDate, CY cyBaseSum, CY* pcyResult) = 0; /* [64] */

// Custom interface: 111 members, slots 3 to 113.
struct IOrvDocument : IUnknown {
    ORV_IORVDOCUMENT_MEMBERS
};
ORV_DECLARE_IID(IOrvDocument);

// Dual interface: the same 111 members, slots 7 to 117.
struct IOrvDocumentDisp : IDispatch {
    ORV_IORVDOCUMENT_MEMBERS
};
ORV_DECLARE_IID(IOrvDocumentDisp);
ORV_TYPEINFO_DECL(IOrvDocumentDisp);

// The extension of a document: one opaque body and the length its last writer
// put (dual, dispids in brackets).
struct IOrvDocExtension : IDispatch {
    virtual HRESULT get_Length(LONG* pVal) = 0;  // [1]
    virtual HRESULT put_Length(LONG newVal) = 0; // [1]
    virtual HRESULT get_Body(BSTR* pVal) = 0;    // [2] a byte string
    virtual HRESULT put_Body(BSTR newVal) = 0;   // [2]
    virtual HRESULT Clear() = 0;                 // [3]
};
ORV_DECLARE_IID(IOrvDocExtension);
ORV_TYPEINFO_DECL(IOrvDocExtension);
