// The parts of an HTML dialog that a dialog hosting a browser control from
// its template uses: a browser site that answers the page's host requests,
// and the page's external object.
//
// Classes in this file: CDHtmlEventSink, CDHtmlDialog, CComModule.
#pragma once

#include <mshtmhst.h>

#include "dialog.h"
#include "ole.h"

// Receives the page's HTML events (none are wired here).
class CDHtmlEventSink {
public:
    virtual ~CDHtmlEventSink() = default;
};

class CDHtmlDialog : public CDialog, public CDHtmlEventSink {
    DECLARE_DYNAMIC(CDHtmlDialog)
public:
    CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID = 0, CWnd* pParentWnd = nullptr);
    ~CDHtmlDialog() override;

    // Host flags reported to the page (no 3-D border, no scroll bars).
    DWORD m_dwHostFlags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
    UINT m_nHtmlResID;

    // The page's window.external; null for none.
    void SetExternalDispatch(IDispatch* pdispExternal);
    IDispatch* GetExternalDispatch() const { return m_pExternal; }
    // Whether pages may reach the external object. FALSE here: a derived
    // dialog opts in.
    virtual BOOL CanAccessExternal();

    // The plain dialog initialisation: this dialog makes no browser of its own.
    BOOL OnInitDialog() override;

protected:
    // Browser controls of this dialog get a site that answers host requests.
    COleControlSite* CreateControlSite(COleControlContainer* pContainer) override;

private:
    IDispatch* m_pExternal = nullptr;
};

// The process's module object: constructed and terminated with its owner.
class CComModule {
public:
    CComModule() = default;
    ~CComModule() { Term(); }
    CComModule(const CComModule&) = delete;
    CComModule& operator=(const CComModule&) = delete;
    HRESULT Init(void* /*objectMap*/, HINSTANCE hInst)
    {
        m_hInst = hInst;
        return S_OK;
    }
    void Term() { m_hInst = nullptr; }
    HINSTANCE m_hInst = nullptr;
};
