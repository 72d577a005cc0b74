// Event dispatch for the event sink maps: converts an event's DISPPARAMS to
// the handler's parameter types, as its parameter-type string describes
// them, calls the handler and writes by-reference values back.
#pragma once

#include <cstring>
#include <tuple>
#include <utility>

namespace cl::event {

// One converted argument. Accepts() checks the parameter-type code against
// the handler's C++ type; Load() reads the VARIANT; Store() writes back.
template <class T> struct Arg;

inline VARIANT* Deref(VARIANT& v)
{
    return V_VT(&v) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(&v) ? V_VARIANTREF(&v) : &v;
}

template <> struct Arg<LPDISPATCH> {
    static bool Accepts(BYTE vts) { return vts == VT_DISPATCH; }
    LPDISPATCH value = nullptr;
    bool Load(VARIANT& v)
    {
        VARIANT* p = Deref(v);
        switch (V_VT(p)) {
        case VT_DISPATCH: value = V_DISPATCH(p); return true;
        case VT_DISPATCH | VT_BYREF: value = V_DISPATCHREF(p) ? *V_DISPATCHREF(p) : nullptr; return true;
        case VT_EMPTY:
        case VT_NULL: value = nullptr; return true;
        default: return false;
        }
    }
    LPDISPATCH Get() { return value; }
    void Store() {}
};

template <> struct Arg<VARIANT*> {
    static bool Accepts(BYTE vts) { return vts == (VT_VARIANT | kVtsByRef); }
    VARIANT* value = nullptr;
    bool Load(VARIANT& v)
    {
        value = Deref(v);
        return true;
    }
    VARIANT* Get() { return value; }
    void Store() {}
};

// A VARIANT_BOOL passed by reference reaches the handler as a BOOL*.
template <> struct Arg<BOOL*> {
    static bool Accepts(BYTE vts) { return vts == (VT_BOOL | kVtsByRef); }
    VARIANT_BOOL* target = nullptr;
    BOOL value = FALSE;
    bool Load(VARIANT& v)
    {
        VARIANT* p = Deref(v);
        if (V_VT(p) != (VT_BOOL | VT_BYREF) || !V_BOOLREF(p))
            return false;
        target = V_BOOLREF(p);
        value = *target != VARIANT_FALSE;
        return true;
    }
    BOOL* Get() { return &value; }
    void Store() { *target = value ? VARIANT_TRUE : VARIANT_FALSE; }
};

template <VARTYPE VT, class T, class Field> struct ValueArg {
    static bool Accepts(BYTE vts) { return vts == VT; }
    VARIANT conv;
    ValueArg() { ::VariantInit(&conv); }
    ~ValueArg() { ::VariantClear(&conv); }
    bool Load(VARIANT& v) { return SUCCEEDED(::VariantChangeType(&conv, Deref(v), 0, VT)); }
    T Get() { return Field::Read(conv); }
    void Store() {}
};
struct ReadLong { static long Read(const VARIANT& v) { return V_I4(&v); } };
struct ReadShort { static short Read(const VARIANT& v) { return V_I2(&v); } };
struct ReadBstr { static BSTR Read(const VARIANT& v) { return V_BSTR(&v); } };
template <> struct Arg<long> : ValueArg<VT_I4, long, ReadLong> {};
template <> struct Arg<short> : ValueArg<VT_I2, short, ReadShort> {};
template <> struct Arg<BSTR> : ValueArg<VT_BSTR, BSTR, ReadBstr> {};

template <class F> struct ArgsOf;
template <class C, class R, class... A> struct ArgsOf<R (C::*)(A...)> { using type = std::tuple<A...>; };

template <class F, F pfn, class Seq> struct Invoker;

template <class C, class R, class... A, R (C::*pfn)(A...), size_t... I>
struct Invoker<R (C::*)(A...), pfn, std::index_sequence<I...>> {
    static HRESULT Call(CCmdTarget* target, const char* vts, DISPPARAMS* dp)
    {
        constexpr size_t n = sizeof...(A);
        if (!dp || std::strlen(vts) != n || dp->cArgs != n || (n && !dp->rgvarg))
            return DISP_E_BADPARAMCOUNT;
        if (!(true && ... && Arg<A>::Accepts(static_cast<BYTE>(vts[I]))))
            return DISP_E_TYPEMISMATCH;
        std::tuple<Arg<A>...> args;
        // The arguments arrive last first.
        if (!(true && ... && std::get<I>(args).Load(dp->rgvarg[n - 1 - I])))
            return DISP_E_TYPEMISMATCH;
        (static_cast<C*>(target)->*pfn)(std::get<I>(args).Get()...);
        (std::get<I>(args).Store(), ...);
        return S_OK;
    }
};

template <class F, F pfn>
HRESULT Thunk(CCmdTarget* target, const char* vts, DISPPARAMS* dp)
{
    return Invoker<F, pfn, std::make_index_sequence<std::tuple_size_v<typename ArgsOf<F>::type>>>::Call(
        target, vts, dp);
}

} // namespace cl::event
