#include "afxdisp.h"
#include "cl/dhtml.h"

namespace {

// A browser control's site that also answers its documents' host requests
// (IDocHostUIHandler) for a CDHtmlDialog.
class BrowserControlSite : public COleControlSite, public IDocHostUIHandler {
public:
    BrowserControlSite(COleControlContainer* pContainer, CDHtmlDialog* pDialog)
        : COleControlSite(pContainer), m_pDialog(pDialog) {}

    // IUnknown: the site's own.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override { return COleControlSite::QueryInterface(riid, ppv); }
    STDMETHODIMP_(ULONG) AddRef() override { return COleControlSite::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return COleControlSite::Release(); }

    STDMETHODIMP ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) override
    {
        return S_FALSE;  // the browser shows its own menu
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override
    {
        if (!pInfo)
            return E_INVALIDARG;
        pInfo->dwFlags = m_pDialog ? m_pDialog->m_dwHostFlags : 0;
        pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
        return S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD) override
    {
        if (pchKey)
            *pchKey = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** ppDropTarget) override
    {
        if (ppDropTarget)
            *ppDropTarget = nullptr;
        return E_NOTIMPL;
    }
    // window.external: the dialog's external object, only when it allows it.
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override
    {
        if (!ppDispatch)
            return E_POINTER;
        *ppDispatch = nullptr;
        if (!m_pDialog || !m_pDialog->CanAccessExternal() || !m_pDialog->GetExternalDispatch())
            return E_NOTIMPL;
        *ppDispatch = m_pDialog->GetExternalDispatch();
        (*ppDispatch)->AddRef();
        return S_OK;
    }
    STDMETHODIMP TranslateUrl(DWORD, OLECHAR*, OLECHAR** ppchURLOut) override
    {
        if (ppchURLOut)
            *ppchURLOut = nullptr;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** ppDORet) override
    {
        if (ppDORet)
            *ppDORet = nullptr;
        return S_FALSE;
    }

protected:
    HRESULT QueryExtraInterface(REFIID riid, void** ppv) override
    {
        if (riid != IID_IDocHostUIHandler)
            return COleControlSite::QueryExtraInterface(riid, ppv);
        *ppv = static_cast<IDocHostUIHandler*>(this);
        AddRef();
        return S_OK;
    }

private:
    CDHtmlDialog* m_pDialog;
};

} // namespace

IMPLEMENT_DYNAMIC(CDHtmlDialog, CDialog)

CDHtmlDialog::CDHtmlDialog(UINT nIDTemplate, UINT nHtmlResID, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_nHtmlResID(nHtmlResID)
{
}

CDHtmlDialog::~CDHtmlDialog()
{
    if (m_pExternal)
        m_pExternal->Release();
}

void CDHtmlDialog::SetExternalDispatch(IDispatch* pdispExternal)
{
    if (pdispExternal)
        pdispExternal->AddRef();
    if (m_pExternal)
        m_pExternal->Release();
    m_pExternal = pdispExternal;
}

BOOL CDHtmlDialog::CanAccessExternal()
{
    return FALSE;
}

BOOL CDHtmlDialog::OnInitDialog()
{
    return CDialog::OnInitDialog();
}

COleControlSite* CDHtmlDialog::CreateControlSite(COleControlContainer* pContainer)
{
    return new BrowserControlSite(pContainer, this);
}
