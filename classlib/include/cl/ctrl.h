// Common controls: buttons and tool tips.
//
// Classes in this file: CButton, CToolInfo, CToolTipCtrl.
//
// Both are thin CWnd wrappers around the system's window classes: a CButton
// is usually bound to a template's control with DDX_Control, a CToolTipCtrl
// is created with Create and destroyed with its object.
#pragma once

#include <commctrl.h>

#include "wnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    ~CButton() override = default;

    using CWnd::Create;
    // Creates a "Button" child control. Wraps: ::CreateWindowExW.
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID);

    // Wraps: BM_GETSTATE (BST_PUSHED, BST_FOCUS, check state).
    UINT GetState() const;
    // Wraps: BM_SETSTATE. TRUE shows the button pushed.
    void SetState(BOOL bHighlight);

    // Draws an owner-drawn button. Called with the parent's WM_DRAWITEM for
    // this button, which the parent reflects here; draws nothing by default.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

    // A reflected WM_DRAWITEM goes to DrawItem; every other reflected message
    // to the message map (ON_WM_CTLCOLOR_REFLECT and the like).
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// A TOOLINFO with room for the tool's text.
class CToolInfo : public TTTOOLINFOW {
public:
    TCHAR szText[256];
};

// A tool-tip control. Tools are added with AddTool; mouse messages reach the
// control through RelayEvent (tools are not subclassed).
//
// TOOLINFO is passed with its version-2 size, which every comctl32 from
// version 4.70 on accepts (the full size is refused by version 5).
class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override = default;

    using CWnd::Create;
    // Creates the control as a popup owned by pParentWnd's top-level window,
    // with style WS_POPUP | dwStyle. Registers the common control classes.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // Wraps: TTM_ACTIVATE. An inactive control shows no tips.
    void Activate(BOOL bActivate);
    // Wraps: TTM_ADDTOOL. The tool is the rectangle lpRectTool of pWnd's
    // client area with id nIDTool; id 0 names the whole window pWnd
    // (TTF_IDISHWND, the rectangle is not used). The control copies the text.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    // Wraps: TTM_UPDATETIPTEXT for the tool (pWnd, nIDTool).
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    // Wraps: TTM_SETDELAYTIME with TTDT_AUTOMATIC: the initial delay is
    // nDelay ms, the tip stays ten times as long and reshows after a fifth.
    void SetDelayTime(UINT nDelay);
    // Wraps: TTM_SETDELAYTIME for one of TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW.
    void SetDelayTime(DWORD dwDuration, int iTime);
    // Wraps: TTM_GETDELAYTIME for one of TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW.
    int GetDelayTime(DWORD dwDuration) const;
    // Wraps: TTM_GETTOOLCOUNT.
    int GetToolCount() const;
    // Wraps: TTM_GETTOOLINFO for the tool (pWnd, nIDTool); FALSE when there
    // is no such tool. lpszText points to szText on return.
    BOOL GetToolInfo(CToolInfo& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    // Wraps: TTM_GETTEXT; empty when there is no such tool.
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    // Wraps: TTM_RELAYEVENT. Hands the control a mouse message of a tool.
    void RelayEvent(LPMSG lpMsg);
    // Wraps: TTM_UPDATE. Redraws the current tip.
    void Update();

private:
    // A TOOLINFO naming the tool (pWnd, nIDTool), as AddTool defines it.
    static TTTOOLINFOW ToolKey(CWnd* pWnd, UINT_PTR nIDTool);
};
