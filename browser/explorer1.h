// The window-side wrapper of the system web browser control. It keeps no
// state: every call goes to the control's automation interface by dispatch
// id. Bound to a template's browser control with DDX_Control.
#pragma once

#include "afxdisp.h"

class CExplorer1 : public CWnd {
    DECLARE_DYNCREATE(CExplorer1)
public:
    CExplorer1() = default;
    ~CExplorer1() override = default;

    // {8856F961-340A-11D0-A96B-00C04FD705A2}
    static const CLSID clsid;

    // Creates the control as a child (the windows of this program get theirs
    // from their dialog templates instead).
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Starts loading URL (a VT_BSTR VARIANT owned by the caller); the other
    // arguments may be null. Raises the automation exceptions on failure.
    void Navigate2(VARIANT* URL, VARIANT* Flags, VARIANT* TargetFrameName, VARIANT* PostData,
                   VARIANT* Headers);
    // The control's size in pixels.
    void put_Width(long newValue);
    void put_Height(long newValue);
};
