// The native part of the Python package orvdocs: late binding over the
// library's IDispatch with the value mapping scripts expect.
//
// An Object wraps one interface pointer. Attribute access looks the name up in
// the object's type information (cached per interface, names matched without
// regard to case), so a property without arguments is read at once while a
// method or a property with arguments comes back as a callable. Out-parameters
// are passed as references to variants of the wrapper's own and returned as
// the call's result.
#include <orvdocs/orvdocs.h>

#include "frame/com.h"
#include "host/OrvMemoryDatabase.h"
#include "host/registration.h"

#include <pybind11/pybind11.h>
#include <datetime.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace py = pybind11;
using namespace orv;

namespace {

// Owned references kept for the process and never released: they must not be
// dropped by static destructors after the interpreter has finalized.
py::handle g_comError;      // orvdocs.com_error
py::handle g_decimal;       // decimal.Decimal
py::handle g_cyContext;     // a decimal context wide enough for every currency value
std::unordered_set<std::u16string> g_byteMembers;  // lower-case names of byte-string members

// ------------------------------------------------------------------- text
std::u16string ToU16(const py::handle& s) {
    py::object b = py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(s.ptr(), "utf-16-le", "surrogatepass"));
    if (!b) throw py::error_already_set();
    char* data = nullptr;
    Py_ssize_t len = 0;
    PyBytes_AsStringAndSize(b.ptr(), &data, &len);
    std::u16string out(static_cast<size_t>(len / 2), u'\0');
    std::memcpy(out.data(), data, static_cast<size_t>(len));
    return out;
}

py::object FromU16(const char16_t* s, size_t n) {
    int order = -1;  // little-endian, no byte-order mark expected
    PyObject* o = PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(s), static_cast<Py_ssize_t>(n * 2),
                                        "surrogatepass", &order);
    if (!o) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(o);
}

std::u16string Lower(std::u16string s) {
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    return s;
}

// ----------------------------------------------------------------- errors
const char* StatusText(HRESULT hr) {
    switch (static_cast<uint32_t>(hr)) {
    case 0x80020009u: return "Exception occurred.";
    case 0x80020005u: return "Type mismatch.";
    case 0x8002000Eu: return "Invalid number of parameters.";
    case 0x80020003u: return "Member not found.";
    case 0x80020006u: return "Unknown name.";
    case 0x8002000Au: return "Out of present range.";
    case 0x8002000Fu: return "Parameter not optional.";
    case 0x80020007u: return "No named arguments.";
    case 0x80020004u: return "Parameter not found.";
    case 0x80020001u: return "Unknown interface.";
    case 0x80070057u: return "The parameter is incorrect.";
    case 0x80004001u: return "Not implemented";
    case 0x80004002u: return "No such interface supported";
    case 0x80004003u: return "Invalid pointer";
    case 0x80004005u: return "Unspecified error";
    case 0x8007000Eu: return "Not enough memory resources are available to complete this operation.";
    case 0x80040154u: return "Class not registered";
    case 0x800401F3u: return "Invalid class string";
    case 0x80040111u: return "ClassFactory cannot supply requested class";
    default: return nullptr;
    }
}

[[noreturn]] void RaiseComError(HRESULT hr, const EXCEPINFO* info = nullptr, py::object argerr = py::none()) {
    const char* text = StatusText(hr);
    char buf[48];
    if (!text) {
        std::snprintf(buf, sizeof buf, "Error 0x%08X", static_cast<unsigned>(hr));
        text = buf;
    }
    py::object excepinfo = py::none();
    if (info) {
        auto str = [](BSTR b) -> py::object { return b ? FromU16(b, SysStringLen(b)) : py::none(); };
        excepinfo = py::make_tuple(info->wCode, str(info->bstrSource), str(info->bstrDescription),
                                   str(info->bstrHelpFile), info->dwHelpContext, static_cast<int32_t>(info->scode));
    }
    PyErr_SetObject(g_comError.ptr(),
                    py::make_tuple(static_cast<int32_t>(hr), py::str(text), excepinfo, argerr).ptr());
    throw py::error_already_set();
}

// ----------------------------------------------------------- type tables
struct Param {
    VARTYPE vt = VT_EMPTY;
    bool out = false;
};

struct Member {
    DISPID id = DISPID_UNKNOWN;
    std::u16string name;
    bool func = false, get = false, put = false, putref = false;
    std::vector<Param> funcParams, getParams, putParams;
    bool bytes = false;
};

struct TypeTable {
    std::u16string name;
    std::unordered_map<std::u16string, std::shared_ptr<Member>> byName;  // lower-case names
    // Names as scripts spelled them (UTF-8), filled on first use; read and
    // written only with the interpreter lock held.
    std::unordered_map<std::string, std::shared_ptr<Member>> bySpelling;
};

std::mutex g_tablesLock;
std::unordered_map<ITypeInfo*, std::shared_ptr<TypeTable>> g_tables;  // holds one reference on each key

std::shared_ptr<TypeTable> BuildTable(ITypeInfo* ti) {
    auto table = std::make_shared<TypeTable>();
    BSTR ifName = nullptr;
    if (SUCCEEDED(ti->GetDocumentation(MEMBERID_NIL, &ifName, nullptr, nullptr, nullptr)) && ifName)
        table->name.assign(ifName, SysStringLen(ifName));
    SysFreeString(ifName);
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return table;
    const WORD count = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    std::unordered_map<DISPID, std::shared_ptr<Member>> byId;
    for (UINT i = 0; i < count; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        auto& m = byId[fd->memid];
        if (!m) {
            m = std::make_shared<Member>();
            m->id = fd->memid;
            BSTR n = nullptr;
            UINT got = 0;
            if (SUCCEEDED(ti->GetNames(fd->memid, &n, 1, &got)) && got && n) m->name.assign(n, SysStringLen(n));
            SysFreeString(n);
            m->bytes = g_byteMembers.count(Lower(m->name)) != 0;
        }
        std::vector<Param> params;
        for (SHORT p = 0; p < fd->cParams; ++p) {
            const ELEMDESC& e = fd->lprgelemdescParam[p];
            Param prm;
            prm.out = (e.paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0;
            prm.vt = e.tdesc.vt == VT_PTR && e.tdesc.lptdesc ? e.tdesc.lptdesc->vt : e.tdesc.vt;
            params.push_back(prm);
        }
        switch (fd->invkind) {
        case INVOKE_FUNC: m->func = true, m->funcParams = std::move(params); break;
        case INVOKE_PROPERTYGET: m->get = true, m->getParams = std::move(params); break;
        case INVOKE_PROPERTYPUT: m->put = true, m->putParams = std::move(params); break;
        case INVOKE_PROPERTYPUTREF:
            m->putref = true;
            if (!m->put) m->putParams = std::move(params);
            break;
        }
        ti->ReleaseFuncDesc(fd);
    }
    for (auto& [id, m] : byId) table->byName.emplace(Lower(m->name), m);
    return table;
}

std::shared_ptr<TypeTable> TableOf(IDispatch* disp) {
    UINT n = 0;
    if (FAILED(disp->GetTypeInfoCount(&n)) || n == 0) return nullptr;
    ComPtr<ITypeInfo> ti;
    if (FAILED(disp->GetTypeInfo(0, 0, ti.GetAddressOf())) || !ti) return nullptr;
    std::lock_guard<std::mutex> guard(g_tablesLock);
    auto it = g_tables.find(ti.Get());
    if (it != g_tables.end()) return it->second;
    auto table = BuildTable(ti.Get());
    g_tables.emplace(ti.Detach(), table);
    return table;
}

// ----------------------------------------------------------------- objects
class Object {
public:
    ComPtr<IUnknown> unk;
    ComPtr<IDispatch> disp;
    std::shared_ptr<TypeTable> table;

    explicit Object(IUnknown* p) {
        p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unk.GetAddressOf()));
        if (SUCCEEDED(p->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf()))) && disp)
            table = TableOf(disp.Get());
    }

    std::shared_ptr<Member> Find(const std::u16string& name) const {
        if (table) {
            auto it = table->byName.find(Lower(name));
            return it == table->byName.end() ? nullptr : it->second;
        }
        if (!disp) return nullptr;
        // No type information: the name alone, called as a script would.
        LPOLESTR n = const_cast<LPOLESTR>(name.c_str());
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(disp->GetIDsOfNames(IID_NULL, &n, 1, 0, &id))) return nullptr;
        auto m = std::make_shared<Member>();
        m->id = id;
        m->name = name;
        m->func = true;
        m->put = true;
        m->bytes = g_byteMembers.count(Lower(name)) != 0;
        return m;
    }
};

py::object Wrap(IUnknown* p) {
    if (!p) return py::none();
    return py::cast(std::make_unique<Object>(p));
}

// ----------------------------------------------------------- value mapping
constexpr std::chrono::sys_days kDateZero = std::chrono::sys_days{std::chrono::year{1899} / 12 / 30};

double ToDate(PyObject* o) {
    using namespace std::chrono;
    const int y = PyDateTime_GET_YEAR(o), mo = PyDateTime_GET_MONTH(o), d = PyDateTime_GET_DAY(o);
    const long long days = (sys_days{year{y} / month{static_cast<unsigned>(mo)} / day{static_cast<unsigned>(d)}} -
                            kDateZero).count();
    double frac = 0;
    if (PyDateTime_Check(o)) {
        if (PyDateTime_DATE_GET_TZINFO(o) != Py_None)
            throw py::value_error("a date-time with a time zone has no automation date; give a naive one");
        const double ms = PyDateTime_DATE_GET_HOUR(o) * 3600000.0 + PyDateTime_DATE_GET_MINUTE(o) * 60000.0 +
                          PyDateTime_DATE_GET_SECOND(o) * 1000.0 + PyDateTime_DATE_GET_MICROSECOND(o) / 1000.0;
        frac = ms / 86400000.0;
    }
    // Before the zero date the whole days count down while the time of day still counts up.
    return days >= 0 ? static_cast<double>(days) + frac : static_cast<double>(days) - frac;
}

py::object FromDate(double v) {
    using namespace std::chrono;
    if (!std::isfinite(v) || std::fabs(v) > 3e6) throw py::value_error("automation date out of range");
    double whole = std::trunc(v);
    long long ms = std::llround(std::fabs(v - whole) * 86400000.0);
    long long dayIndex = static_cast<long long>(whole);
    if (ms >= 86400000) ms -= 86400000, dayIndex += 1;
    const year_month_day ymd{kDateZero + days{dayIndex}};
    const int y = static_cast<int>(ymd.year());
    if (y < 1 || y > 9999) throw py::value_error("automation date outside the years 1 to 9999");
    PyObject* o = PyDateTime_FromDateAndTime(y, static_cast<int>(static_cast<unsigned>(ymd.month())),
                                             static_cast<int>(static_cast<unsigned>(ymd.day())),
                                             static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                                             static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000) * 1000);
    if (!o) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(o);
}

py::object FromCurrency(LONGLONG raw) {
    const bool neg = raw < 0;
    unsigned long long mag = neg ? 0ull - static_cast<unsigned long long>(raw) : static_cast<unsigned long long>(raw);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%llu.%04llu", neg ? "-" : "", mag / 10000, mag % 10000);
    return g_decimal(py::str(buf));
}

LONGLONG ToCurrency(const py::handle& d) {
    if (!d.attr("is_finite")().cast<bool>()) throw py::value_error("currency must be a finite number");
    // Four decimals, rounded half to even, in a context of its own so that the
    // script's decimal context (its precision, its rounding) plays no part.
    py::object scaled = d.attr("scaleb")(4, py::arg("context") = g_cyContext)
                            .attr("to_integral_value")(py::arg("rounding") = "ROUND_HALF_EVEN",
                                                       py::arg("context") = g_cyContext);
    py::int_ i(scaled);
    int overflow = 0;
    const long long v = PyLong_AsLongLongAndOverflow(i.ptr(), &overflow);
    if (overflow) throw py::value_error("currency outside -922337203685477.5808 to 922337203685477.5807");
    return v;
}

// A Python value as a variant (the variant must be empty).
void ToVariant(const py::handle& h, VARIANT* v) {
    PyObject* o = h.ptr();
    if (o == Py_None) {
        v->vt = VT_EMPTY;
    } else if (PyBool_Check(o)) {
        v->vt = VT_BOOL;
        v->boolVal = o == Py_True ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (PyLong_Check(o)) {
        int overflow = 0;
        const long long x = PyLong_AsLongLongAndOverflow(o, &overflow);
        if (overflow) throw py::value_error("integer too large for an automation value");
        if (x >= INT32_MIN && x <= INT32_MAX) {
            v->vt = VT_I4;
            v->lVal = static_cast<LONG>(x);
        } else {
            v->vt = VT_I8;
            v->llVal = x;
        }
    } else if (PyFloat_Check(o)) {
        v->vt = VT_R8;
        v->dblVal = PyFloat_AS_DOUBLE(o);
    } else if (PyUnicode_Check(o)) {
        const std::u16string s = ToU16(h);
        v->bstrVal = SysAllocStringLen(s.data(), static_cast<UINT>(s.size()));
        if (!v->bstrVal) throw std::bad_alloc();
        v->vt = VT_BSTR;
    } else if (PyBytes_Check(o) || PyByteArray_Check(o)) {
        py::bytes b(py::reinterpret_borrow<py::object>(h));
        std::string_view sv = b;
        v->bstrVal = SysAllocStringByteLen(sv.data(), static_cast<UINT>(sv.size()));
        if (!v->bstrVal) throw std::bad_alloc();
        v->vt = VT_BSTR;
    } else if (PyDate_Check(o)) {
        v->vt = VT_DATE;
        v->date = ToDate(o);
    } else if (py::isinstance(h, g_decimal)) {
        v->vt = VT_CY;
        v->cyVal.int64 = ToCurrency(h);
    } else if (py::isinstance<Object>(h)) {
        Object& obj = h.cast<Object&>();
        if (obj.disp) {
            v->vt = VT_DISPATCH;
            v->pdispVal = obj.disp.Get();
        } else {
            v->vt = VT_UNKNOWN;
            v->punkVal = obj.unk.Get();
        }
        v->punkVal->AddRef();
    } else {
        throw py::type_error(std::string("no automation value for a Python ") + Py_TYPE(o)->tp_name);
    }
}

py::object FromVariant(const VARIANT& in, bool bytes) {
    const VARIANT& v = in.vt == (VT_BYREF | VT_VARIANT) && in.pvarVal ? *in.pvarVal : in;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL: return py::none();
    case VT_I1: return py::int_(static_cast<int>(v.cVal));
    case VT_UI1: return py::int_(static_cast<int>(v.bVal));
    case VT_I2: return py::int_(v.iVal);
    case VT_UI2: return py::int_(v.uiVal);
    case VT_I4:
    case VT_INT: return py::int_(v.lVal);
    case VT_UI4:
    case VT_UINT: return py::int_(v.ulVal);
    case VT_I8: return py::int_(static_cast<long long>(v.llVal));
    case VT_UI8: return py::int_(static_cast<unsigned long long>(v.ullVal));
    case VT_R4: return py::float_(v.fltVal);
    case VT_R8: return py::float_(v.dblVal);
    case VT_BOOL: return py::bool_(v.boolVal != VARIANT_FALSE);
    case VT_ERROR: return py::int_(static_cast<int32_t>(v.scode));
    case VT_DATE: return FromDate(v.date);
    case VT_CY: return FromCurrency(v.cyVal.int64);
    case VT_BSTR:
        if (bytes)
            return py::bytes(reinterpret_cast<const char*>(v.bstrVal), v.bstrVal ? SysStringByteLen(v.bstrVal) : 0);
        return v.bstrVal ? FromU16(v.bstrVal, SysStringLen(v.bstrVal)) : py::str("");
    case VT_DISPATCH: return Wrap(v.pdispVal);
    case VT_UNKNOWN: return Wrap(v.punkVal);
    default: throw py::type_error("no Python value for variant type " + std::to_string(v.vt));
    }
}

// ------------------------------------------------------------------ calls
// Variants released when the call is done (rgvarg is in reverse order).
struct Args {
    std::vector<Variant> values;  // rgvarg
    std::vector<Variant> outs;    // storage the out-references point at
    ~Args() = default;
};

py::object Call(Object& obj, const Member& m, WORD flags, const std::vector<Param>& params, const py::args& args,
                const py::handle* putValue) {
    const size_t total = params.size();
    size_t ins = 0;
    for (const Param& p : params) ins += !p.out;
    const size_t given = args.size();
    // Out-parameters are filled in for the script unless it gave every parameter.
    const bool fillOuts = !putValue && (given == ins || given == total) && ins != total;
    const bool skipGivenOuts = fillOuts && given == total;
    std::vector<Variant> decl;     // in declaration order
    std::vector<int> pyIndex;      // the script's argument number of each, -1 for an out the wrapper supplies
    std::vector<size_t> outSlots;  // indices in decl of the outs
    std::vector<Variant> outs;
    if (fillOuts) {
        outs.resize(total - ins);
        decl.resize(total);
        size_t next = 0, o = 0;
        for (size_t i = 0; i < total; ++i) {
            if (params[i].out) {
                decl[i].vt = VT_BYREF | VT_VARIANT;
                decl[i].pvarVal = &outs[o++];
                pyIndex.push_back(-1);
                outSlots.push_back(i);
                if (skipGivenOuts) ++next;
            } else {
                ToVariant(args[next], &decl[i]);
                pyIndex.push_back(static_cast<int>(next++));
            }
        }
    } else {
        decl.resize(given);
        for (size_t i = 0; i < given; ++i) {
            ToVariant(args[i], &decl[i]);
            pyIndex.push_back(static_cast<int>(i));
        }
    }
    std::vector<VARIANT> rg(decl.size() + (putValue ? 1 : 0));
    Variant newValue;
    size_t n = decl.size();
    for (size_t i = 0; i < n; ++i) rg[rg.size() - 1 - i] = decl[i];
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS dp{rg.data(), nullptr, static_cast<UINT>(rg.size()), 0};
    if (putValue) {
        ToVariant(*putValue, &newValue);
        rg[0] = newValue;
        dp.rgdispidNamedArgs = &named;
        dp.cNamedArgs = 1;
    }
    Variant result;
    EXCEPINFO info{};
    UINT argErr = UINT(-1);
    HRESULT hr;
    {
        py::gil_scoped_release nogil;
        hr = obj.disp->Invoke(m.id, IID_NULL, 0, flags, &dp, &result, &info, &argErr);
    }
    if (FAILED(hr)) {
        if (hr == DISP_E_EXCEPTION && info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        struct Free {
            EXCEPINFO& e;
            ~Free() { SysFreeString(e.bstrSource), SysFreeString(e.bstrDescription), SysFreeString(e.bstrHelpFile); }
        } free{info};
        py::object argerr = py::none();
        if ((hr == DISP_E_TYPEMISMATCH || hr == DISP_E_OVERFLOW || hr == DISP_E_PARAMNOTOPTIONAL) &&
            argErr < rg.size()) {
            const size_t pos = rg.size() - 1 - argErr;
            if (putValue && argErr == 0)
                argerr = py::int_(given);  // the new value comes after the index arguments
            else if (pos < pyIndex.size() && pyIndex[pos] >= 0)
                argerr = py::int_(pyIndex[pos]);
        }
        RaiseComError(hr, hr == DISP_E_EXCEPTION ? &info : nullptr, argerr);
    }
    if (outs.empty()) return FromVariant(result, m.bytes);
    if (outs.size() == 1) return FromVariant(outs[0], m.bytes);
    py::tuple t(outs.size());
    for (size_t i = 0; i < outs.size(); ++i) t[i] = FromVariant(outs[i], m.bytes);
    return t;
}

// A method, or a property with arguments, taken from an object; calling it makes the call.
struct Bound {
    py::object owner;  // the Object
    std::shared_ptr<Member> member;
    bool put = false;  // the Set<name> form of an indexed property

    py::object operator()(const py::args& args) const {
        Object& obj = owner.cast<Object&>();
        const Member& m = *member;
        if (put) {
            if (args.size() == 0) throw py::type_error("Set" + py::str(FromU16(m.name.data(), m.name.size())).cast<std::string>() + " needs the new value");
            py::tuple index(args.size() - 1);
            for (size_t i = 0; i + 1 < args.size(); ++i) index[i] = args[i];
            py::handle value = args[args.size() - 1];
            return Call(obj, m, m.put ? DISPATCH_PROPERTYPUT : DISPATCH_PROPERTYPUTREF, m.putParams,
                        py::args(index), &value);
        }
        const auto& params = m.func ? m.funcParams : m.getParams;
        return Call(obj, m, DISPATCH_METHOD | DISPATCH_PROPERTYGET, params, args, nullptr);
    }
};

[[noreturn]] void NoSuchName(const Object& obj, const std::string& name) {
    std::string where = obj.table ? py::str(FromU16(obj.table->name.data(), obj.table->name.size())).cast<std::string>()
                                  : std::string("object");
    throw py::attribute_error(where + " has no member " + name);
}

// A member by the name a script wrote: the spelling's cache first, then the table.
std::shared_ptr<Member> FindSpelled(Object& obj, const std::string& name) {
    if (obj.table) {
        auto it = obj.table->bySpelling.find(name);
        if (it != obj.table->bySpelling.end()) return it->second;
        auto m = obj.Find(ToU16(py::str(name)));
        if (m && obj.table->bySpelling.size() < 4096) obj.table->bySpelling.emplace(name, m);
        return m;
    }
    return obj.Find(ToU16(py::str(name)));
}

py::object GetAttr(py::object self, const std::string& name) {
    Object& obj = self.cast<Object&>();
    if (name.size() >= 2 && name[0] == '_' && name[1] == '_') throw py::attribute_error(name);
    if (auto m = FindSpelled(obj, name)) {
        if (!obj.table) {
            // Without type information: read it as a property; one that needs
            // arguments (or a method that does) is given back as a callable.
            try {
                py::args none(py::tuple(0));
                return Call(obj, *m, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, none, nullptr);
            } catch (py::error_already_set& e) {
                if (!e.matches(g_comError)) throw;
                const int32_t hr = py::getattr(e.value(), "hresult").cast<int32_t>();
                if (hr != DISP_E_BADPARAMCOUNT && hr != DISP_E_PARAMNOTOPTIONAL) throw;
                return py::cast(Bound{self, m, false});
            }
        }
        size_t ins = 0;
        for (const Param& p : m->getParams) ins += !p.out;
        if (m->get && ins == 0) {
            py::args none(py::tuple(0));
            return Call(obj, *m, DISPATCH_PROPERTYGET, m->getParams, none, nullptr);
        }
        if (m->func || m->get) return py::cast(Bound{self, m, false});
        py::args none(py::tuple(0));
        return Call(obj, *m, DISPATCH_PROPERTYGET, m->getParams, none, nullptr);  // a put-only member says so
    }
    if (name.size() > 3 && name.compare(0, 3, "Set") == 0) {
        if (auto m = FindSpelled(obj, name.substr(3)); m && (m->put || m->putref))
            return py::cast(Bound{self, m, true});
    }
    NoSuchName(obj, name);
}

void SetAttr(py::object self, const std::string& name, py::object value) {
    Object& obj = self.cast<Object&>();
    auto m = FindSpelled(obj, name);
    if (!m) NoSuchName(obj, name);
    py::args none(py::tuple(0));
    const WORD flags = m->put || !m->putref ? DISPATCH_PROPERTYPUT : DISPATCH_PROPERTYPUTREF;
    Call(obj, *m, flags, m->putParams, none, &value);
}

// -------------------------------------------------------------- creation
struct HostProgId {
    const char16_t* progId;
    const CLSID* clsid;
};
const HostProgId kHostProgIds[] = {
    {u"OrvHost.RefItem", &CLSID_OrvRefItem},           {u"OrvHost.UnknownList", &CLSID_OrvUnknownList},
    {u"OrvHost.MessageService", &CLSID_OrvMessageService}, {u"OrvHost.TextList", &CLSID_OrvTextList},
    {u"OrvHost.DateService", &CLSID_OrvDateService},   {u"OrvHost.SumCollector", &CLSID_OrvSumCollector},
    {u"OrvHost.OutsideDoc", &CLSID_OrvOutsideDoc},     {u"OrvHost.MemoryDatabase", &CLSID_OrvMemoryDatabase},
    {u"OrvHost.Database", &CLSID_OrvDatabase},
};

py::object Dispatch(const std::string& text) {
    const std::u16string w = ToU16(py::str(text));
    CLSID clsid{};
    HRESULT hr = E_FAIL;
    if (!w.empty() && w[0] == u'{') {
        hr = CLSIDFromString(w.c_str(), &clsid);
    } else {
        for (const HostProgId& h : kHostProgIds)
            if (Lower(h.progId) == Lower(w)) clsid = *h.clsid, hr = S_OK;
        if (FAILED(hr)) hr = CLSIDFromProgID(w.c_str(), &clsid);
    }
    if (FAILED(hr)) RaiseComError(hr);
    ComPtr<IUnknown> unk;
    {
        py::gil_scoped_release nogil;
        hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(unk.GetAddressOf()));
    }
    if (FAILED(hr)) RaiseComError(hr);
    return Wrap(unk.Get());
}

py::object OpenStore(const std::string& path) {
    ComPtr<IOrvDatabase> db;
    HRESULT hr;
    {
        py::gil_scoped_release nogil;
        hr = path == ":memory:"
                 ? CoCreateInstance(CLSID_OrvMemoryDatabase, nullptr, CLSCTX_ALL, IID_IOrvDatabase,
                                    reinterpret_cast<void**>(db.GetAddressOf()))
                 : orv::host::OpenDatabase(Utf8ToUtf16(path), db.GetAddressOf());
    }
    if (FAILED(hr)) {
        EXCEPINFO info{};
        info.scode = hr;
        ComPtr<IErrorInfo> err;
        if (GetErrorInfo(0, err.GetAddressOf()) == S_OK && err) {
            err->GetSource(&info.bstrSource);
            err->GetDescription(&info.bstrDescription);
        }
        struct Free {
            EXCEPINFO& e;
            ~Free() { SysFreeString(e.bstrSource), SysFreeString(e.bstrDescription); }
        } free{info};
        RaiseComError(hr, &info);
    }
    return Wrap(db.Get());
}

// Runs a method of the database service's host interface (not dispatchable).
ComPtr<IOrvMemoryDatabase> HostView(Object& store) {
    ComPtr<IOrvMemoryDatabase> host;
    HRESULT hr = store.unk->QueryInterface(IID_IOrvMemoryDatabase, reinterpret_cast<void**>(host.GetAddressOf()));
    if (FAILED(hr)) RaiseComError(hr);
    return host;
}

// An option whose value in force on a date comes from a table the script gives
// (the central bank rate a loan's interest is computed at, a minimum-wage
// table): the value of the latest date not after the date asked, empty before
// the first.
inline constexpr CLSID CLSID_OrvPyDatedOption = {0x8B0E55A1, 0x3C2D, 0x4F61, {0x9A, 0x7E, 0x51, 0x0C, 0x2B, 0x6D, 0x90, 0x11}};

class PyDatedOption : public CoClass<PyDatedOption, &CLSID_OrvPyDatedOption, IOrvDatedOption, IDispatch> {
public:
    LONG id = 0;
    std::map<DATE, Variant> steps;
    HRESULT get_Id(LONG* pVal) override {
        if (!pVal) return E_POINTER;
        *pVal = id;
        return S_OK;
    }
    HRESULT get_Value(DATE date, VARIANT* pVal) override {
        if (!pVal) return E_POINTER;
        VariantInit(pVal);
        auto it = steps.upper_bound(date);
        return it == steps.begin() ? S_OK : VariantCopy(pVal, &std::prev(it)->second);
    }
};

py::object DatedOption(LONG id, py::dict values) {
    std::map<DATE, Variant> steps;
    for (auto [k, v] : values) {
        if (!PyDate_Check(k.ptr())) throw py::type_error("the table's keys are dates");
        Variant value;
        ToVariant(v, &value);
        steps[ToDate(k.ptr())] = std::move(value);
    }
    ComPtr<IUnknown> unknown;
    PyDatedOption* option = nullptr;
    HRESULT hr = CreateObjectWithAccess<PyDatedOption>(&unknown, &option);
    if (FAILED(hr)) RaiseComError(hr);
    option->id = id;
    option->steps = std::move(steps);
    return Wrap(unknown.Get());
}

orv::host::Registration g_registration;
bool g_registered = false;

void Initialize() {
    if (g_registered) return;
    HRESULT hr = S_OK;
    const char* file = std::getenv("ORVDOCS_REGISTRY");
    CLSID probe{};
    // A registry file that already holds the library's classes is used as it is.
    if (!(file && *file && SUCCEEDED(CLSIDFromProgID(u"OrvDocs.OrvDocument", &probe)))) hr = DllRegisterServer();
    if (FAILED(hr)) RaiseComError(hr);
    hr = orv::host::RegisterHostComponents(&g_registration);
    if (FAILED(hr)) RaiseComError(hr);
    g_registered = true;
}

}  // namespace

PYBIND11_MODULE(_core, mod) {
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
    py::module_ decimal = py::module_::import("decimal");
    g_decimal = py::object(decimal.attr("Decimal")).release();
    g_cyContext = decimal.attr("Context")(py::arg("prec") = 60, py::arg("rounding") = "ROUND_HALF_EVEN").release();
    mod.doc() = "Late binding over the OrvDocs library's automation objects";

    py::class_<Object>(mod, "CDispatch")
        // Members are looked up before the type's own attributes (saving the
        // failed generic lookup, and its exception, on every property read);
        // names starting with "_" are the wrapper's own.
        .def("__getattribute__", [](py::object self, py::str name) -> py::object {
            Py_ssize_t n = 0;
            const char* text = PyUnicode_AsUTF8AndSize(name.ptr(), &n);
            if (!text) throw py::error_already_set();
            if (n > 0 && text[0] == '_') {
                PyObject* o = PyObject_GenericGetAttr(self.ptr(), name.ptr());
                if (!o) throw py::error_already_set();
                return py::reinterpret_steal<py::object>(o);
            }
            return GetAttr(self, std::string(text, static_cast<size_t>(n)));
        })
        .def("__setattr__", &SetAttr)
        .def("__eq__", [](const Object& a, py::object b) {
            return py::isinstance<Object>(b) && b.cast<const Object&>().unk.Get() == a.unk.Get();
        })
        .def("__hash__", [](const Object& a) { return reinterpret_cast<std::uintptr_t>(a.unk.Get()); })
        .def("__repr__", [](const Object& a) {
            std::string n = a.table ? py::str(FromU16(a.table->name.data(), a.table->name.size())).cast<std::string>()
                                    : std::string(a.disp ? "IDispatch" : "IUnknown");
            return "<orvdocs.client.CDispatch " + n + ">";
        })
        .def_property_readonly("_interface_name", [](const Object& a) -> py::object {
            if (!a.table) return py::none();
            return FromU16(a.table->name.data(), a.table->name.size());
        })
        .def("__dir__", [](const Object& a) {
            py::list names;
            if (a.table)
                for (auto& [k, m] : a.table->byName) names.append(FromU16(m->name.data(), m->name.size()));
            names.append("_interface_name");
            names.append("_member_names");
            return names;
        })
        .def("_member_names", [](const Object& a) {
            py::list names;
            if (a.table)
                for (auto& [k, m] : a.table->byName) names.append(FromU16(m->name.data(), m->name.size()));
            return names;
        });

    py::class_<Bound>(mod, "_Method")
        .def("__call__", [](const Bound& b, py::args args) { return b(args); })
        .def("__repr__", [](const Bound& b) {
            return "<orvdocs member " + std::string(b.put ? "Set" : "") +
                   py::str(FromU16(b.member->name.data(), b.member->name.size())).cast<std::string>() + ">";
        });

    mod.def("_set_error_class", [](py::object cls) {
        g_comError.dec_ref();
        g_comError = cls.release();
    });
    mod.def("_set_byte_members", [](py::iterable names) {
        g_byteMembers.clear();
        for (auto n : names) g_byteMembers.insert(Lower(ToU16(n)));
        std::lock_guard<std::mutex> guard(g_tablesLock);
        for (auto& [ti, t] : g_tables)
            for (auto& [k, m] : t->byName) m->bytes = g_byteMembers.count(k) != 0;
    });
    mod.def("initialize", &Initialize, "Registers the library's classes and the host's components for the process");
    mod.def("Dispatch", &Dispatch, py::arg("progid_or_clsid"));
    mod.def("open_store", &OpenStore, py::arg("path"));
    mod.def("dated_option", &DatedOption, py::arg("id"), py::arg("values"));
    mod.def("host_progids", [] {
        py::dict d;
        for (const HostProgId& h : kHostProgIds) {
            OLECHAR buf[40];
            StringFromGUID2(*h.clsid, buf, 40);
            d[FromU16(h.progId, std::char_traits<char16_t>::length(h.progId))] =
                FromU16(buf, std::char_traits<char16_t>::length(buf));
        }
        return d;
    });
    mod.def("import_text", [](Object& store, py::str xml) {
        auto host = HostView(store);
        const std::u16string w = ToU16(xml);
        Bstr text(w);
        HRESULT hr;
        {
            py::gil_scoped_release nogil;
            hr = host->ImportText(text);
        }
        if (FAILED(hr)) RaiseComError(hr);
    });
    mod.def("document_count", [](Object& store) {
        LONG n = 0;
        HRESULT hr = HostView(store)->get_DocumentCount(&n);
        if (FAILED(hr)) RaiseComError(hr);
        return n;
    });
    mod.def("dll_can_unload_now", [] { return static_cast<int32_t>(DllCanUnloadNow()); });
}
