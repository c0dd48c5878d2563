// The class toolkit: every class of the library names its interfaces once and
// gets QueryInterface, reference counting, the module's object count,
// aggregation, tear-offs, ISupportErrorInfo and IDispatch from that list.
//
//   class OrvLPDoc : public orv::CoClass<OrvLPDoc, &CLSID_OrvLPDoc,
//                                        IOrvLPDoc, IDispatch, ISupportErrorInfo> {
//   public:
//       HRESULT FinalConstruct();          // optional; a failure cancels the creation
//       void FinalRelease();               // optional
//       HRESULT get_Sum(CY* pVal) override {
//           if (!pVal) return E_POINTER;
//           return Locked([&] { ...; return S_OK; });
//       }
//   };
//
// Entries of the list, in the order of the class's interface table:
//   I                 an interface the class implements (dual ones get IDispatch
//                     answered from the compiled-in type information);
//   IDispatch         answered by the class's first dual interface;
//   ISupportErrorInfo S_OK for the first interface of the list only; a class
//                     names others with a static SupportsErrorInfo(REFIID);
//   Aggregated<I>     answered by an inner object the class aggregates: the
//                     class defines IUnknown* InnerUnknown(REFIID) returning
//                     the inner object's own IUnknown, or null (E_NOINTERFACE);
//   TearOff<I, C>     a new object of class C (derived from TearOffOf<Owner, I>)
//                     created on each request.
//
// Objects are created only through orv::CreateInstance<T> (or a class factory):
// the final classes ComObject<T> / AggObject<T> add the IUnknown members.
#pragma once

#include "frame/errors.h"
#include "frame/module.h"
#include "frame/typeinfo.h"

#include <orvdocs/platform/comptr.h>
#include <orvdocs/platform/kernel.h>
#include <orvdocs/platform/oleauto.h>

#include <new>
#include <tuple>
#include <type_traits>
#include <utility>

namespace orv {

template <class I>
struct Aggregated {};
template <class I, class C>
struct TearOff {};
template <class E>
struct TearOffClass;
template <class I, class C>
struct TearOffClass<TearOff<I, C>> {
    using type = C;
};

namespace detail {

// One row of a class's interface map.
enum class EntryKind : unsigned char { Direct, Aggregated, TearOff };
struct MapEntry {
    const IID* iid;
    EntryKind kind;
    // Direct: the interface pointer inside the object. Aggregated: the inner
    // object's IUnknown (not counted). TearOff: a new counted tear-off.
    IUnknown* (*resolve)(void* self, HRESULT* hr);
};

// The table walk every class shares. Identity (IUnknown) is the first entry.
HRESULT MapQueryInterface(void* self, const MapEntry* map, std::size_t count, REFIID riid, void** ppv);

// IDispatch members answered from an interface's type information.
HRESULT DispatchGetTypeInfo(const ti::Interface& info, UINT index, ITypeInfo** ppTInfo);
HRESULT DispatchGetIDsOfNames(const ti::Interface& info, REFIID riid, LPOLESTR* names, UINT count, DISPID* ids);
HRESULT DispatchInvoke(const ti::Interface& info, IUnknown* self, DISPID id, REFIID riid, WORD flags,
                       DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep, UINT* argErr);
// Releases the cached type information objects (module unload); references
// callers still hold stay valid.
void ReleaseTypeInfoCache() noexcept;

template <class T>
inline constexpr bool kIsDual = std::is_base_of_v<IDispatch, T> && !std::is_same_v<T, IDispatch>;

}  // namespace detail

// Implements IDispatch for one dual interface from its compiled-in type information.
template <class I>
class DispatchImpl : public I {
public:
    HRESULT GetTypeInfoCount(UINT* pctinfo) override {
        if (!pctinfo) return E_POINTER;
        *pctinfo = 1;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT index, LCID, ITypeInfo** ppTInfo) override {
        return detail::DispatchGetTypeInfo(TypeInfoOf(static_cast<const I*>(nullptr)), index, ppTInfo);
    }
    HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return detail::DispatchGetIDsOfNames(TypeInfoOf(static_cast<const I*>(nullptr)), riid, names, count, ids);
    }
    HRESULT Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excep, UINT* argErr) override {
        return detail::DispatchInvoke(TypeInfoOf(static_cast<const I*>(nullptr)), static_cast<I*>(this), id, riid,
                                      flags, params, result, excep, argErr);
    }
};

template <class Derived>
class SupportErrorInfoImpl : public ISupportErrorInfo {
public:
    HRESULT InterfaceSupportsErrorInfo(REFIID riid) override {
        return Derived::SupportsErrorInfo(riid) ? S_OK : S_FALSE;
    }
};

namespace detail {

// The base class an entry contributes: the interface itself, its dispatch
// implementation, or nothing (an empty tag, distinct per entry).
template <class E>
struct NoBase {};
template <class Derived, class E>
struct BaseOf {
    using type = std::conditional_t<kIsDual<E>, DispatchImpl<E>, E>;
};
template <class Derived>
struct BaseOf<Derived, IDispatch> {
    using type = NoBase<IDispatch>;
};
template <class Derived>
struct BaseOf<Derived, ISupportErrorInfo> {
    using type = SupportErrorInfoImpl<Derived>;
};
template <class Derived, class I>
struct BaseOf<Derived, Aggregated<I>> {
    using type = NoBase<Aggregated<I>>;
};
template <class Derived, class I, class C>
struct BaseOf<Derived, TearOff<I, C>> {
    using type = NoBase<TearOff<I, C>>;
};

template <class... E>
struct FirstDual;
template <>
struct FirstDual<> {
    using type = void;
};
template <class E>
struct InterfaceOf {
    using type = E;
};
template <class I>
struct InterfaceOf<Aggregated<I>> {
    using type = I;
};
template <class I, class C>
struct InterfaceOf<TearOff<I, C>> {
    using type = I;
};
// An entry other than the interface itself that still implements it in the
// class (test doubles add their own).
template <class E>
struct ImplementsDirectly : std::false_type {};
template <class E, class... R>
struct FirstDual<E, R...> {
    using I = typename InterfaceOf<E>::type;
    static constexpr bool implemented = std::is_same_v<E, I> || ImplementsDirectly<E>::value;
    using type = std::conditional_t<implemented && kIsDual<I>, I, typename FirstDual<R...>::type>;
};


// The state every object shares: reference count, lock, outer unknown.
class ObjectState {
public:
    ObjectState() noexcept { InitializeCriticalSection(&cs_); }
    ~ObjectState() { DeleteCriticalSection(&cs_); }
    ObjectState(const ObjectState&) = delete;
    ObjectState& operator=(const ObjectState&) = delete;

    ULONG InternalAddRef() noexcept { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG InternalRelease() noexcept { return static_cast<ULONG>(InterlockedDecrement(&refs_)); }
    // Called when destruction begins, so that a stray AddRef/Release pair
    // during final release cannot destroy the object a second time.
    void BeginDestruction() noexcept { refs_ = kDestructionGuard; }
    static constexpr LONG kDestructionGuard = -(LONG(1) << 30);

protected:
    LONG volatile refs_ = 0;
    CRITICAL_SECTION cs_;
    IUnknown* outer_ = nullptr;  // the controlling unknown when aggregated
};

}  // namespace detail

// Holds an object's lock for a scope.
class ObjectLock {
public:
    explicit ObjectLock(CRITICAL_SECTION* cs) noexcept : cs_(cs) { EnterCriticalSection(cs_); }
    ~ObjectLock() { LeaveCriticalSection(cs_); }
    ObjectLock(const ObjectLock&) = delete;
    ObjectLock& operator=(const ObjectLock&) = delete;

private:
    CRITICAL_SECTION* cs_;
};

template <class Derived, const CLSID* Clsid, class... Entries>
class CoClass : public detail::ObjectState, public detail::BaseOf<Derived, Entries>::type... {
public:
    using First = typename detail::InterfaceOf<std::tuple_element_t<0, std::tuple<Entries...>>>::type;
    using MainDual = typename detail::FirstDual<Entries...>::type;

    static const CLSID& ClassId() noexcept { return *Clsid; }

    // Default hooks; a class hides them with its own.
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}
    static bool SupportsErrorInfo(REFIID riid) { return riid == uuidof<First>(); }

    HRESULT InternalQueryInterface(REFIID riid, void** ppv) {
        static const detail::MapEntry map[] = {MakeEntry<Entries>()...};
        return detail::MapQueryInterface(static_cast<Derived*>(this), map, sizeof...(Entries), riid, ppv);
    }

    // The object's identity: the outer object's IUnknown when aggregated.
    IUnknown* ControllingUnknown() noexcept {
        if (outer_) return outer_;
        HRESULT hr = S_OK;
        return MakeEntry<std::tuple_element_t<0, std::tuple<Entries...>>>().resolve(static_cast<Derived*>(this), &hr);
    }

protected:
    ObjectLock Lock() noexcept { return ObjectLock(&cs_); }

    // Runs a member's body: failures raised inside (ComError, out of memory)
    // become the returned status, with error information reported for the class.
    template <class F>
    HRESULT Guarded(F&& body) noexcept {
        try {
            return body();
        } catch (const ComError& e) {
            return ReportComError(*Clsid, e);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }
    // As Guarded, with the object's lock held for the whole body.
    template <class F>
    HRESULT Locked(F&& body) noexcept {
        ObjectLock lock(&cs_);
        return Guarded(std::forward<F>(body));
    }

private:
    template <class E>
    static detail::MapEntry MakeEntry() {
        using namespace detail;
        if constexpr (std::is_same_v<E, IDispatch>) {
            static_assert(!std::is_void_v<MainDual>, "IDispatch listed without a dual interface");
            return {&IID_IDispatch, EntryKind::Direct, [](void* self, HRESULT*) -> IUnknown* {
                        return static_cast<MainDual*>(static_cast<Derived*>(self));
                    }};
        } else if constexpr (IsAggregated<E>::value) {
            using I = typename InterfaceOf<E>::type;
            return {&uuidof<I>(), EntryKind::Aggregated, [](void* self, HRESULT*) -> IUnknown* {
                        return static_cast<Derived*>(self)->InnerUnknown(uuidof<I>());
                    }};
        } else if constexpr (IsTearOff<E>::value) {
            using I = typename InterfaceOf<E>::type;
            return {&uuidof<I>(), EntryKind::TearOff, [](void* self, HRESULT* hr) -> IUnknown* {
                        return CreateTearOff<E>(static_cast<Derived*>(self), hr);
                    }};
        } else {
            using I = typename InterfaceOf<E>::type;
            return {&uuidof<I>(), EntryKind::Direct, [](void* self, HRESULT*) -> IUnknown* {
                        return static_cast<I*>(static_cast<Derived*>(self));
                    }};
        }
    }
    template <class E>
    struct IsAggregated : std::false_type {};
    template <class I>
    struct IsAggregated<Aggregated<I>> : std::true_type {};
    template <class E>
    struct IsTearOff : std::false_type {};
    template <class I, class C>
    struct IsTearOff<TearOff<I, C>> : std::true_type {};

    template <class E>
    static IUnknown* CreateTearOff(Derived* owner, HRESULT* hr);
};

// A stand-alone object.
template <class T>
class ComObject final : ModuleReference, public T {
public:
    ~ComObject() {
        this->BeginDestruction();
        this->FinalRelease();
    }
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return this->InternalQueryInterface(riid, ppv); }
    ULONG AddRef() override { return this->InternalAddRef(); }
    ULONG Release() override {
        ULONG n = this->InternalRelease();
        if (n == 0) delete this;
        return n;
    }
};

// The class inside an aggregate: its IUnknown members go to the outer object.
template <class T>
class ContainedObject final : public T {
public:
    explicit ContainedObject(IUnknown* outer) { this->outer_ = outer; }
    HRESULT QueryInterface(REFIID riid, void** ppv) override { return this->outer_->QueryInterface(riid, ppv); }
    ULONG AddRef() override { return this->outer_->AddRef(); }
    ULONG Release() override { return this->outer_->Release(); }
};

// An aggregated object: this is its own (inner, non-delegating) IUnknown.
template <class T>
class AggObject final : ModuleReference, public IUnknown {
public:
    explicit AggObject(IUnknown* outer) : contained_(outer) {}
    ~AggObject() {
        contained_.BeginDestruction();
        refs_ = detail::ObjectState::kDestructionGuard;
        contained_.FinalRelease();
    }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown) {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return contained_.InternalQueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    T& Object() noexcept { return contained_; }

private:
    LONG volatile refs_ = 0;
    ContainedObject<T> contained_;
};

// Creates an object of class T (aggregated when outer is given, in which case
// riid must be IID_IUnknown) in the order the component model expects:
// construct, count it in the module, final construction, QueryInterface.
template <class T>
HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) noexcept {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    if (OrvAllocationFails()) return E_OUTOFMEMORY;  // the tests' failure hook
    try {
        if (!outer) {
            auto* obj = new (std::nothrow) ComObject<T>();
            if (!obj) return E_OUTOFMEMORY;
            obj->InternalAddRef();  // keeps the object alive through final construction
            HRESULT hr = obj->FinalConstruct();
            if (SUCCEEDED(hr)) hr = obj->QueryInterface(riid, ppv);
            obj->Release();
            return hr;
        }
        auto* agg = new (std::nothrow) AggObject<T>(outer);
        if (!agg) return E_OUTOFMEMORY;
        agg->AddRef();
        HRESULT hr = agg->Object().FinalConstruct();
        if (SUCCEEDED(hr)) hr = agg->QueryInterface(riid, ppv);
        agg->Release();
        return hr;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Creates an object for the library's own use and hands back the requested interface.
template <class T, class I>
HRESULT CreateObject(ComPtr<I>* out) noexcept {
    if (!out) return E_POINTER;
    return CreateInstance<T>(nullptr, uuidof<I>(), reinterpret_cast<void**>(out->ReleaseAndGetAddressOf()));
}

// Creates an object and gives direct access to its class as well (for the
// library's own wiring, e.g. handing a new specific object its document).
template <class T>
HRESULT CreateObjectWithAccess(ComPtr<IUnknown>* unknown, T** object) noexcept {
    if (!unknown || !object) return E_POINTER;
    *object = nullptr;
    ComPtr<typename T::First> first;
    HRESULT hr = CreateObject<T>(&first);
    if (FAILED(hr)) return hr;
    *object = static_cast<T*>(static_cast<ComObject<T>*>(first.Get()));
    return first.As(unknown);
}

// The implementation base of an interface: its dispatch implementation when dual.
template <class I>
using ImplOf = std::conditional_t<detail::kIsDual<I>, DispatchImpl<I>, I>;

// The base of a tear-off: a separate object serving interface I of its owner,
// holding a counted reference to the owner. Every other interface is the owner's.
template <class Owner, class I, class Base = ImplOf<I>>
class TearOffOf : public Base {
public:
    explicit TearOffOf(Owner* owner) : owner_(owner) { owner_unknown_ = owner->ControllingUnknown(); }
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == uuidof<I>()) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        return owner_unknown_->QueryInterface(riid, ppv);
    }
    ULONG AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    virtual ~TearOffOf() = default;

protected:
    Owner* owner_;  // kept alive by owner_unknown_
    ComPtr<IUnknown> owner_unknown_;

private:
    LONG volatile refs_ = 0;
    ModuleReference module_;
};


template <class Derived, const CLSID* Clsid, class... Entries>
template <class E>
IUnknown* CoClass<Derived, Clsid, Entries...>::CreateTearOff(Derived* owner, HRESULT* hr) {
    using I = typename detail::InterfaceOf<E>::type;
    using C = typename TearOffClass<E>::type;
    C* t = OrvAllocationFails() ? nullptr : new (std::nothrow) C(owner);
    if (!t) {
        *hr = E_OUTOFMEMORY;
        return nullptr;
    }
    I* itf = static_cast<I*>(t);
    itf->AddRef();
    return itf;
}

}  // namespace orv
