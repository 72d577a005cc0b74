#include "fake_browser.h"

#include <olectl.h>

#include <cstring>

namespace fake {

namespace {
const IID kIID_ICustomDoc = {0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const CLSID kClsidWebBrowser = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

LRESULT CALLBACK ViewProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    return ::DefWindowProcW(h, m, w, l);
}
} // namespace

// --- Document ---------------------------------------------------------------

STDMETHODIMP Document::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == kIID_ICustomDoc) {
        *ppv = static_cast<ICustomDoc*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP Document::SetUIHandler(IDocHostUIHandler* pUIHandler)
{
    if (pUIHandler)
        pUIHandler->AddRef();
    if (handler)
        handler->Release();
    handler = pUIHandler;
    ++handlerSets;
    return S_OK;
}

Document::~Document()
{
    if (handler)
        handler->Release();
}

// --- Frame ------------------------------------------------------------------

STDMETHODIMP Frame::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IWebBrowser2 ||
        riid == IID_IWebBrowserApp || riid == IID_IWebBrowser) {
        *ppv = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP Frame::GetTypeInfoCount(UINT* pctinfo)
{
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP Frame::get_Document(IDispatch** ppDisp)
{
    *ppDisp = nullptr;
    if (!doc)
        return S_FALSE;  // no document yet, as before a page exists
    doc->AddRef();
    *ppDisp = reinterpret_cast<IDispatch*>(static_cast<ICustomDoc*>(doc));
    return S_OK;
}

// --- Browser ----------------------------------------------------------------

Browser::Browser() : Frame(new Document)
{
}

Browser::~Browser()
{
    if (hwnd)
        ::DestroyWindow(hwnd);
    delete doc;
}

STDMETHODIMP Browser::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IOleObject)
        *ppv = static_cast<IOleObject*>(this);
    else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow)
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (riid == IID_IPersistStreamInit)
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (riid == IID_IConnectionPointContainer)
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (riid == IID_IProvideClassInfo || riid == IID_IProvideClassInfo2)
        *ppv = static_cast<IProvideClassInfo2*>(this);
    else
        return Frame::QueryInterface(riid, ppv);
    AddRef();
    return S_OK;
}

STDMETHODIMP Browser::Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* params, VARIANT*,
                             EXCEPINFO* excep, UINT*)
{
    if (dispid == 500 && params && params->cArgs == 5) {
        // Navigate2: URL is the first argument, so the last in the array.
        VARIANT* url = &params->rgvarg[4];
        if (V_VT(url) == (VT_VARIANT | VT_BYREF))
            url = V_VARIANTREF(url);
        const std::wstring address = V_VT(url) == VT_BSTR && V_BSTR(url) ? V_BSTR(url) : L"";
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT urlArg, empty, cancelArg, self;
        ::VariantInit(&urlArg);
        V_VT(&urlArg) = VT_BSTR;
        V_BSTR(&urlArg) = ::SysAllocString(address.c_str());
        ::VariantInit(&empty);
        V_VT(&cancelArg) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&cancelArg) = &cancel;
        V_VT(&self) = VT_DISPATCH;
        V_DISPATCH(&self) = static_cast<IWebBrowser2*>(this);
        VARIANT urlRef, emptyRef;
        V_VT(&urlRef) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&urlRef) = &urlArg;
        V_VT(&emptyRef) = VT_VARIANT | VT_BYREF;
        V_VARIANTREF(&emptyRef) = &empty;
        Fire(250, {self, urlRef, emptyRef, emptyRef, emptyRef, emptyRef, cancelArg});
        ::VariantClear(&urlArg);
        if (cancel == VARIANT_FALSE)
            navigations.push_back(address);
        return S_OK;
    }
    if ((dispid == 208 || dispid == 209) && (wFlags & DISPATCH_PROPERTYPUT) && params && params->cArgs == 1) {
        RECT rc = {0, 0, 0, 0};
        if (hwnd) {
            ::GetWindowRect(hwnd, &rc);
            ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
        }
        const LONG value = V_I4(&params->rgvarg[0]);
        if (dispid == 208)
            rc.right = rc.left + value;
        else
            rc.bottom = rc.top + value;
        IOleInPlaceSite* inplace = nullptr;
        if (site && SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inplace)))) {
            inplace->OnPosRectChange(&rc);
            inplace->Release();
        }
        return S_OK;
    }
    if (dispid == 0x7777) {
        if (excep) {
            memset(excep, 0, sizeof *excep);
            excep->wCode = 1001;
            excep->bstrSource = ::SysAllocString(L"fake browser");
            excep->bstrDescription = ::SysAllocString(L"refused");
        }
        return DISP_E_EXCEPTION;
    }
    return DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP Browser::SetClientSite(IOleClientSite* pClientSite)
{
    if (pClientSite)
        pClientSite->AddRef();
    if (site)
        site->Release();
    site = pClientSite;
    return S_OK;
}

STDMETHODIMP Browser::GetClientSite(IOleClientSite** ppClientSite)
{
    *ppClientSite = site;
    if (site)
        site->AddRef();
    return S_OK;
}

STDMETHODIMP Browser::Close(DWORD)
{
    closed = true;
    InPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP Browser::DoVerb(LONG iVerb, LPMSG, IOleClientSite*, LONG, HWND hwndParent, LPCRECT lprcPosRect)
{
    verbs.push_back(iVerb);
    if (!hwnd && hwndParent && lprcPosRect) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = ViewProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"FakeBrowserView";
            ::RegisterClassW(&wc);
            registered = true;
        }
        hwnd = ::CreateWindowExW(0, L"FakeBrowserView", L"", WS_CHILD | WS_VISIBLE, lprcPosRect->left,
                                 lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                                 lprcPosRect->bottom - lprcPosRect->top, hwndParent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
        IOleInPlaceSite* inplace = nullptr;
        if (site && SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inplace)))) {
            inplace->OnInPlaceActivate();
            inplace->Release();
        }
        inPlace = true;
    }
    if (hwnd && iVerb == OLEIVERB_HIDE)
        ::ShowWindow(hwnd, SW_HIDE);
    if (hwnd && (iVerb == OLEIVERB_UIACTIVATE || iVerb == OLEIVERB_SHOW))
        ::ShowWindow(hwnd, SW_SHOW);
    return S_OK;
}

STDMETHODIMP Browser::GetMiscStatus(DWORD, DWORD* pdwStatus)
{
    *pdwStatus = OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

STDMETHODIMP Browser::GetWindow(HWND* phwnd)
{
    *phwnd = hwnd;
    return hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP Browser::InPlaceDeactivate()
{
    if (inPlace && site) {
        IOleInPlaceSite* inplace = nullptr;
        if (SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inplace)))) {
            inplace->OnInPlaceDeactivate();
            inplace->Release();
        }
    }
    inPlace = false;
    return S_OK;
}

STDMETHODIMP Browser::SetObjectRects(LPCRECT lprcPosRect, LPCRECT)
{
    if (hwnd && lprcPosRect)
        ::MoveWindow(hwnd, lprcPosRect->left, lprcPosRect->top, lprcPosRect->right - lprcPosRect->left,
                     lprcPosRect->bottom - lprcPosRect->top, TRUE);
    return S_OK;
}

STDMETHODIMP Browser::GetClassID(CLSID* pClassID)
{
    *pClassID = kClsidWebBrowser;
    return S_OK;
}

STDMETHODIMP Browser::Load(LPSTREAM pStm)
{
    BYTE buf[512];
    ULONG got = 0;
    while (SUCCEEDED(pStm->Read(buf, sizeof buf, &got)) && got > 0)
        loaded.insert(loaded.end(), buf, buf + got);
    return S_OK;
}

STDMETHODIMP Browser::InitNew()
{
    initNew = true;
    return S_OK;
}

STDMETHODIMP Browser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
    *ppCP = nullptr;
    if (riid != DIID_DWebBrowserEvents2)
        return CONNECT_E_NOCONNECTION;
    *ppCP = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP Browser::GetConnectionInterface(IID* pIID)
{
    *pIID = DIID_DWebBrowserEvents2;
    return S_OK;
}

STDMETHODIMP Browser::GetConnectionPointContainer(IConnectionPointContainer** ppCPC)
{
    *ppCPC = static_cast<IConnectionPointContainer*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP Browser::Advise(IUnknown* pUnkSink, DWORD* pdwCookie)
{
    IDispatch* sink = nullptr;
    if (!pUnkSink || FAILED(pUnkSink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink))))
        return CONNECT_E_CANNOTCONNECT;
    sinks.push_back(sink);
    *pdwCookie = static_cast<DWORD>(sinks.size());
    return S_OK;
}

STDMETHODIMP Browser::Unadvise(DWORD dwCookie)
{
    if (dwCookie == 0 || dwCookie > sinks.size() || !sinks[dwCookie - 1])
        return CONNECT_E_NOCONNECTION;
    sinks[dwCookie - 1]->Release();
    sinks[dwCookie - 1] = nullptr;
    return S_OK;
}

STDMETHODIMP Browser::GetClassInfo(ITypeInfo** ppTI)
{
    *ppTI = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP Browser::GetGUID(DWORD dwGuidKind, GUID* pGUID)
{
    if (dwGuidKind != GUIDKIND_DEFAULT_SOURCE_DISP_IID)
        return E_INVALIDARG;
    *pGUID = DIID_DWebBrowserEvents2;
    return S_OK;
}

void Browser::Fire(DISPID dispid, std::vector<VARIANT> args)
{
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    for (IDispatch* sink : std::vector<IDispatch*>(sinks))
        if (sink)
            sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

void Browser::FireNavigateComplete(IDispatch* frame, const wchar_t* url)
{
    VARIANT disp, address, ref;
    V_VT(&disp) = VT_DISPATCH;
    V_DISPATCH(&disp) = frame;
    ::VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = ::SysAllocString(url);
    V_VT(&ref) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&ref) = &address;
    Fire(252, {disp, ref});
    ::VariantClear(&address);
}

// --- Factory ----------------------------------------------------------------

Factory::Factory()
{
    ::CoRegisterClassObject(kClsidWebBrowser, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

Factory::~Factory()
{
    ::CoRevokeClassObject(m_cookie);
    for (Browser* b : made)
        delete b;
}

STDMETHODIMP Factory::QueryInterface(REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP Factory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv)
{
    *ppv = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    auto* browser = new Browser;
    made.push_back(browser);
    const HRESULT hr = browser->QueryInterface(riid, ppv);
    browser->Release();  // the caller holds the only counted reference; the list keeps the object for inspection
    return hr;
}

} // namespace fake
