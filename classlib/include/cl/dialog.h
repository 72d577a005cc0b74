// Dialogs from templates: CDialog, data exchange.
//
// A modal dialog (DoModal) runs this library's own message loop: the owner
// is disabled, the dialog is created modeless, and every queued message is
// offered to CWnd::WalkPreTranslateTree before it is dispatched. The loop
// ends with EndDialog or when the dialog window goes away.
#pragma once

#include "wnd.h"

class CDialog;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

// Binds rControl to the dialog's control nIDC (subclassing it, or attaching
// it to the control's OLE site for an ActiveX control). Does nothing if the
// control is already bound; leaves it unbound when there is no such control.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    LPCTSTR m_lpszTemplateName = nullptr;  // MAKEINTRESOURCE(id) or a name
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

    // Modeless creation from a template of the resource module.
    virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                        HINSTANCE hInst = nullptr);
    // Runs the dialog modally; returns the EndDialog value, or -1 when the
    // dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode) override;

    // Runs the modal loop on this window until EndModalLoop.
    int RunModalLoop();
    void EndModalLoop(int nResult);
    BOOL ContinueModal() const;

    // Runs the non-OLE records of the dialog's DLGINIT resource (list and
    // combo box strings); OLE records are consumed when controls are made.
    BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);

protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam) override;
    // Creates the window from a template; the OLE hosting layer hooks in here.
    virtual BOOL CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd,
                                   HINSTANCE hInst);

    void HandleOK();
    void HandleCancel();

    HINSTANCE m_hInstDlgInit = nullptr;  // module of the template (and its DLGINIT)
    int m_nModalResult = -1;
    bool m_bInModalLoop = false;
    bool m_bContinueModal = false;

    DECLARE_MESSAGE_MAP()
};
