#include "explorer1.h"

IMPLEMENT_DYNCREATE(CExplorer1, CWnd)

const CLSID CExplorer1::clsid = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

BOOL CExplorer1::Create(LPCTSTR, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CreateControl(clsid, lpszWindowName, dwStyle, rect, pParentWnd, nID);
}

void CExplorer1::Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                           VARIANT* Headers)
{
    static const BYTE parms[] = VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT VTS_PVARIANT;
    InvokeHelper(0x1F4, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, URL, Flags, TargetFrameName, PostData,
                 Headers);
}

void CExplorer1::put_Width(long newValue)
{
    static const BYTE parms[] = VTS_I4;
    InvokeHelper(0xD0, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, newValue);
}

void CExplorer1::put_Height(long newValue)
{
    static const BYTE parms[] = VTS_I4;
    InvokeHelper(0xD1, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, newValue);
}
