// Customises the portal browser's host user interface: a sink for the
// browser's events that installs itself as the UI handler of every document
// that completes a navigation (page and frames), reporting fixed host flags
// (dialog, no help menu, no 3-D border, no scroll bars) and itself as the
// page's window.external, and declining everything else.
//
// It lives inside its owner; its reference count never frees it.
#pragma once

#include <exdisp.h>
#include <mshtmhst.h>

class CWebUIController : public DWebBrowserEvents2, public IDocHostUIHandler {
public:
    CWebUIController();
    virtual ~CWebUIController();
    CWebUIController(const CWebUIController&) = delete;
    CWebUIController& operator=(const CWebUIController&) = delete;

    // Attaches to pBrowser (null detaches): one reference to it, and this
    // object's events interface advised on its DWebBrowserEvents2 point.
    void SetWebBrowser(IWebBrowser2* pBrowser);

    // Connects pSink to pBrowser's DWebBrowserEvents2 connection point.
    static HRESULT AdviseEvents(IUnknown* pBrowser, IUnknown* pSink, DWORD* pdwCookie);
    static HRESULT UnadviseEvents(IUnknown* pBrowser, DWORD dwCookie);
    // Installs this object as UI handler of the document of the browser or
    // frame object pDisp; silently does nothing when that is not possible.
    void InstallUIHandler(IDispatch* pDisp);

    // IUnknown (shared by both interfaces)
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch (DWebBrowserEvents2): only NavigateComplete2 is acted on.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                               DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                        UINT* puArgErr) override;

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* pcmdtReserved,
                                 IDispatch* pdispReserved) override;
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* pInfo) override;
    STDMETHODIMP ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                        IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                        IOleInPlaceUIWindow* pDoc) override;
    STDMETHODIMP HideUI() override;
    STDMETHODIMP UpdateUI() override;
    STDMETHODIMP EnableModeless(BOOL fEnable) override;
    STDMETHODIMP OnDocWindowActivate(BOOL fActivate) override;
    STDMETHODIMP OnFrameWindowActivate(BOOL fActivate) override;
    STDMETHODIMP ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                              BOOL fRameWindow) override;
    STDMETHODIMP TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) override;
    STDMETHODIMP GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHODIMP GetExternal(IDispatch** ppDispatch) override;
    STDMETHODIMP TranslateUrl(DWORD dwTranslate, OLECHAR* pchURLIn, OLECHAR** ppchURLOut) override;
    STDMETHODIMP FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;

    ULONG m_cRef;
    IWebBrowser2* m_pWebBrowser;
    DWORD m_dwCookie;
};
