// The transfer document (type code 91): old and new position, grade, driver
// class and staff position in record fields; the old and new department and
// position texts in a fixed 42-byte extension body of four OEM slots.
#pragma once

#include "kinds/RecordFields.h"

namespace orv {

class OrvDRDoc : public RecordKind<OrvDRDoc, &CLSID_OrvDRDoc, IOrvDRDoc, IDispatch> {
public:
    HRESULT get_OldPositionId(LONG* pVal) override;
    HRESULT put_OldPositionId(LONG newVal) override;
    HRESULT get_NewPositionId(LONG* pVal) override;
    HRESULT put_NewPositionId(LONG newVal) override;
    HRESULT get_OldProfRazryad(LONG* pVal) override;
    HRESULT put_OldProfRazryad(LONG newVal) override;
    HRESULT get_NewProfRazryad(LONG* pVal) override;
    HRESULT put_NewProfRazryad(LONG newVal) override;
    HRESULT get_OldDriverClassnost(LONG* pVal) override;
    HRESULT put_OldDriverClassnost(LONG newVal) override;
    HRESULT get_NewDriverClassnost(LONG* pVal) override;
    HRESULT put_NewDriverClassnost(LONG newVal) override;
    HRESULT get_OldStaffPositionID(LONG* pVal) override;
    HRESULT put_OldStaffPositionID(LONG newVal) override;
    HRESULT get_NewStaffPositionID(LONG* pVal) override;
    HRESULT put_NewStaffPositionID(LONG newVal) override;
    HRESULT get_OldDepNum(BSTR* pVal) override;
    HRESULT put_OldDepNum(BSTR newVal) override;
    HRESULT get_OldPosition(BSTR* pVal) override;
    HRESULT put_OldPosition(BSTR newVal) override;
    HRESULT get_NewDepNum(BSTR* pVal) override;
    HRESULT put_NewDepNum(BSTR newVal) override;
    HRESULT get_NewPosition(BSTR* pVal) override;
    HRESULT put_NewPosition(BSTR newVal) override;

    // The extension body: four NUL-terminated OEM slots.
    static constexpr std::size_t kBodySize = 42;
    struct Slot {
        std::size_t offset;
        std::size_t width;  // bytes, the closing NUL included
    };
    static constexpr Slot kOldDepNum{0, 10};
    static constexpr Slot kOldPosition{10, 11};
    static constexpr Slot kNewDepNum{21, 10};
    static constexpr Slot kNewPosition{31, 11};

private:
    HRESULT GetDcLong(LONG index, LONG* pVal);
    HRESULT PutDcLong(LONG index, LONG value);
    HRESULT GetReserve(LONG index, LONG* pVal);
    HRESULT PutReserve(LONG index, LONG value);
    HRESULT GetSlot(Slot slot, BSTR* pVal);
    HRESULT PutSlot(Slot slot, BSTR value);
};

}  // namespace orv
