#include "web_ui_controller.h"

#include <cstring>

namespace {

// The identifiers this object compares or asks for.
const IID kDIID_DWebBrowserEvents2 = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
const IID kIID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIID_IDocHostUIHandler = {0xBD3F23C0, 0xD43E, 0x11CF, {0x89, 0x3B, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x1A}};
const IID kIID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIID_IWebBrowser2 = {0xD30C1661, 0xCDAF, 0x11D0, {0x8A, 0x3E, 0x00, 0xC0, 0x4F, 0xC9, 0xE2, 0x6E}};
const IID kIID_ICustomDoc = {0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const IID kIID_IConnectionPointContainer = {0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};

constexpr DISPID kDispidNavigateComplete2 = 252;
constexpr DWORD kHostFlags = 0x1 | 0x2 | 0x4 | 0x8;  // dialog, no help menu, no 3-D border, no scroll bars

bool SameIid(REFIID a, const IID& b)
{
    return memcmp(&a, &b, sizeof(IID)) == 0;
}

// Runs one operation on pBrowser's DWebBrowserEvents2 connection point.
template <class Op> HRESULT WithEventsPoint(IUnknown* pBrowser, Op op)
{
    if (!pBrowser)
        return E_POINTER;
    IConnectionPointContainer* container = nullptr;
    HRESULT hr = pBrowser->QueryInterface(kIID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr))
        return hr;
    if (!container)
        return hr;
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(kDIID_DWebBrowserEvents2, &point);
    if (SUCCEEDED(hr) && point) {
        hr = op(point);
        point->Release();
    }
    container->Release();
    return hr;
}

} // namespace

CWebUIController::CWebUIController() : m_cRef(0), m_pWebBrowser(nullptr), m_dwCookie(0)
{
}

CWebUIController::~CWebUIController() = default;

STDMETHODIMP CWebUIController::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (SameIid(riid, kDIID_DWebBrowserEvents2) || SameIid(riid, kIID_IDispatch))
        *ppv = static_cast<DWebBrowserEvents2*>(this);
    else if (SameIid(riid, kIID_IDocHostUIHandler) || SameIid(riid, kIID_IUnknown))
        *ppv = static_cast<IDocHostUIHandler*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebUIController::AddRef()
{
    return ++m_cRef;
}

// The storage belongs to the owner: the count never frees the object.
STDMETHODIMP_(ULONG) CWebUIController::Release()
{
    return m_cRef ? --m_cRef : 0;
}

STDMETHODIMP CWebUIController::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::Invoke(DISPID dispIdMember, REFIID, LCID, WORD, DISPPARAMS* pDispParams,
                                      VARIANT*, EXCEPINFO*, UINT*)
{
    if (!pDispParams)
        return E_INVALIDARG;
    if (dispIdMember != kDispidNavigateComplete2)
        return S_OK;
    if (pDispParams->cArgs < 2 || !pDispParams->rgvarg)
        return E_INVALIDARG;
    // The first parameter (the browser or frame) arrives last.
    VARIANT& pDisp = pDispParams->rgvarg[1];
    if (V_VT(&pDisp) != VT_DISPATCH)
        return E_INVALIDARG;
    InstallUIHandler(V_DISPATCH(&pDisp));
    return S_OK;
}

void CWebUIController::InstallUIHandler(IDispatch* pDisp)
{
    if (!pDisp)
        return;
    IWebBrowser2* browser = nullptr;
    if (FAILED(pDisp->QueryInterface(kIID_IWebBrowser2, reinterpret_cast<void**>(&browser))) || !browser)
        return;
    IDispatch* document = nullptr;
    if (FAILED(browser->get_Document(&document)) || !document) {
        browser->Release();
        return;
    }
    ICustomDoc* custom = nullptr;
    if (SUCCEEDED(document->QueryInterface(kIID_ICustomDoc, reinterpret_cast<void**>(&custom))) && custom) {
        custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
        custom->Release();
    }
    document->Release();
    browser->Release();
}

HRESULT CWebUIController::AdviseEvents(IUnknown* pBrowser, IUnknown* pSink, DWORD* pdwCookie)
{
    return WithEventsPoint(pBrowser, [&](IConnectionPoint* point) { return point->Advise(pSink, pdwCookie); });
}

HRESULT CWebUIController::UnadviseEvents(IUnknown* pBrowser, DWORD dwCookie)
{
    return WithEventsPoint(pBrowser, [&](IConnectionPoint* point) { return point->Unadvise(dwCookie); });
}

void CWebUIController::SetWebBrowser(IWebBrowser2* pBrowser)
{
    if (m_pWebBrowser) {
        UnadviseEvents(m_pWebBrowser, m_dwCookie);
        m_dwCookie = 0;
        m_pWebBrowser->Release();
    }
    m_pWebBrowser = pBrowser;
    if (pBrowser) {
        pBrowser->AddRef();
        AdviseEvents(pBrowser, static_cast<DWebBrowserEvents2*>(this), &m_dwCookie);
    }
}

STDMETHODIMP CWebUIController::ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::GetHostInfo(DOCHOSTUIINFO* pInfo)
{
    if (!pInfo)
        return E_INVALIDARG;
    pInfo->cbSize = 20;
    pInfo->dwFlags = kHostFlags;
    pInfo->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
    return S_OK;
}

STDMETHODIMP CWebUIController::ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                                      IOleInPlaceUIWindow*)
{
    return E_NOTIMPL;
}
STDMETHODIMP CWebUIController::HideUI() { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::UpdateUI() { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::EnableModeless(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::TranslateAccelerator(LPMSG, const GUID*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::GetDropTarget(IDropTarget*, IDropTarget**) { return E_NOTIMPL; }

STDMETHODIMP CWebUIController::GetExternal(IDispatch** ppDispatch)
{
    if (!ppDispatch)
        return E_POINTER;
    *ppDispatch = static_cast<DWebBrowserEvents2*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP CWebUIController::TranslateUrl(DWORD, OLECHAR*, OLECHAR**) { return E_NOTIMPL; }
STDMETHODIMP CWebUIController::FilterDataObject(IDataObject*, IDataObject**) { return E_NOTIMPL; }
