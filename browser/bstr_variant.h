// A VT_BSTR VARIANT holding an address for the browser's Navigate2: the
// caller owns it, and it frees its string however the call it serves ends.
#pragma once

#include <oleauto.h>

class BstrVariant {
public:
    explicit BstrVariant(const wchar_t* text)
    {
        ::VariantInit(&m_v);
        V_VT(&m_v) = VT_BSTR;
        V_BSTR(&m_v) = ::SysAllocString(text);
    }
    ~BstrVariant() { ::VariantClear(&m_v); }
    BstrVariant(const BstrVariant&) = delete;
    BstrVariant& operator=(const BstrVariant&) = delete;
    VARIANT* get() { return &m_v; }

private:
    VARIANT m_v;
};
