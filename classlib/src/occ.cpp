// ActiveX control hosting: template splitting, sites, containers, event
// sinks and dispatch calls.
#include "afxwin.h"
#include "cl/ole.h"
#include "dlginit.h"

#include <cstdarg>
#include <cstring>

namespace {

// --- template reading --------------------------------------------------------

struct TemplateCursor {
    const BYTE* p;
    const BYTE* base;
    WORD Word() { WORD v; memcpy(&v, p, 2); p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p, 4); p += 4; return v; }
    // Skips a sz_Or_Ord field; returns the string when it is one.
    std::wstring SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF) {
            Word();
            return std::wstring();
        }
        std::wstring s;
        for (WORD c = first; c; c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword() { while ((p - base) % 4) ++p; }
};

bool ParseClsid(const std::wstring& cls, CLSID* clsid)
{
    if (cls.size() != 38 || cls.front() != L'{' || cls.back() != L'}')
        return false;
    return SUCCEEDED(::CLSIDFromString(const_cast<LPOLESTR>(cls.c_str()), clsid));
}

// --- the event sink ------------------------------------------------------------

} // namespace

namespace cl {

// Receives a control's events on its default source interface and hands them
// to the owner's event sink map.
class EventSink : public IDispatch {
public:
    EventSink(CCmdTarget* pHandler, const CL_EVENTSINKMAP* pMap, UINT nID)
        : m_pHandler(pHandler), m_pMap(pMap), m_nID(nID) {}

    bool Connect(IUnknown* pControl)
    {
        if (!FindSourceInterface(pControl, &m_iid))
            return false;
        IConnectionPointContainer* cpc = nullptr;
        if (FAILED(pControl->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc))) || !cpc)
            return false;
        cpc->FindConnectionPoint(m_iid, &m_pPoint);
        cpc->Release();
        if (!m_pPoint)
            return false;
        if (FAILED(m_pPoint->Advise(static_cast<IDispatch*>(this), &m_dwCookie))) {
            m_pPoint->Release();
            m_pPoint = nullptr;
            return false;
        }
        return true;
    }
    void Disconnect()
    {
        if (m_pPoint) {
            m_pPoint->Unadvise(m_dwCookie);
            m_pPoint->Release();
            m_pPoint = nullptr;
        }
        m_pHandler = nullptr;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_iid) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    // Owned by its site; the count only serves the connection point.
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override { return m_cRef ? --m_cRef : 0; }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        if (pctinfo)
            *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                        UINT*) override
    {
        if (!m_pHandler)
            return S_OK;
        for (const CL_EVENTSINKMAP* map = m_pMap; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const CL_EVENTSINKMAP_ENTRY* e = map->lpEntries; e->thunk; ++e) {
                if (e->ctrlId != m_nID || e->dispid != dispid)
                    continue;
                try {
                    return e->thunk(m_pHandler, e->vts, params);
                } catch (...) {
                    // A handler that raised leaves the event unhandled.
                    return S_OK;
                }
            }
        }
        return S_OK;
    }

private:
    // The control's default source interface: from its class information,
    // else its only connection point.
    static bool FindSourceInterface(IUnknown* pControl, IID* piid)
    {
        IProvideClassInfo2* pci2 = nullptr;
        if (SUCCEEDED(pControl->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(&pci2))) && pci2) {
            const HRESULT hr = pci2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, piid);
            pci2->Release();
            if (SUCCEEDED(hr))
                return true;
        }
        IProvideClassInfo* pci = nullptr;
        if (SUCCEEDED(pControl->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&pci))) && pci) {
            ITypeInfo* classInfo = nullptr;
            bool found = false;
            if (SUCCEEDED(pci->GetClassInfo(&classInfo)) && classInfo) {
                TYPEATTR* attr = nullptr;
                if (SUCCEEDED(classInfo->GetTypeAttr(&attr)) && attr) {
                    for (UINT i = 0; i < attr->cImplTypes && !found; ++i) {
                        INT flags = 0;
                        HREFTYPE ref = 0;
                        ITypeInfo* info = nullptr;
                        if (FAILED(classInfo->GetImplTypeFlags(i, &flags)) ||
                            (flags & (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) !=
                                (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE))
                            continue;
                        if (SUCCEEDED(classInfo->GetRefTypeOfImplType(i, &ref)) &&
                            SUCCEEDED(classInfo->GetRefTypeInfo(ref, &info)) && info) {
                            TYPEATTR* sourceAttr = nullptr;
                            if (SUCCEEDED(info->GetTypeAttr(&sourceAttr)) && sourceAttr) {
                                *piid = sourceAttr->guid;
                                found = true;
                                info->ReleaseTypeAttr(sourceAttr);
                            }
                            info->Release();
                        }
                    }
                    classInfo->ReleaseTypeAttr(attr);
                }
                classInfo->Release();
            }
            pci->Release();
            if (found)
                return true;
        }
        IConnectionPointContainer* cpc = nullptr;
        if (FAILED(pControl->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc))) || !cpc)
            return false;
        IEnumConnectionPoints* points = nullptr;
        bool found = false;
        if (SUCCEEDED(cpc->EnumConnectionPoints(&points)) && points) {
            IConnectionPoint* point = nullptr;
            if (points->Next(1, &point, nullptr) == S_OK && point) {
                found = SUCCEEDED(point->GetConnectionInterface(piid));
                point->Release();
            }
            points->Release();
        }
        cpc->Release();
        return found;
    }

    CCmdTarget* m_pHandler;
    const CL_EVENTSINKMAP* m_pMap;
    UINT m_nID;
    IID m_iid = IID_NULL;
    IConnectionPoint* m_pPoint = nullptr;
    DWORD m_dwCookie = 0;
    ULONG m_cRef = 0;
};

} // namespace cl

// --- exceptions ---------------------------------------------------------------

COleDispatchException::COleDispatchException(const EXCEPINFO& info)
    : COleException(DISP_E_EXCEPTION), m_wCode(info.wCode), m_scError(info.scode),
      m_strSource(info.bstrSource ? info.bstrSource : L""),
      m_strDescription(info.bstrDescription ? info.bstrDescription : L"")
{
}

// --- template splitting -------------------------------------------------------

std::vector<BYTE> AfxSplitDialogTemplate(LPCDLGTEMPLATE lpTemplate,
                                         std::vector<COleControlContainer::PendingItem>& pending)
{
    const BYTE* base = reinterpret_cast<const BYTE*>(lpTemplate);
    TemplateCursor c{base, base};
    if (c.Word() != 1 || c.Word() != 0xFFFF)
        return {};  // only extended templates carry controls by class name here
    c.Dword();                      // help id
    c.Dword();                      // extended style
    const DWORD style = c.Dword();
    const BYTE* countAt = c.p;
    const WORD count = c.Word();
    c.p += 8;                       // x, y, cx, cy
    c.SzOrOrd();                    // menu
    c.SzOrOrd();                    // class
    c.SzOrOrd();                    // title
    if (style & (DS_SETFONT | DS_SHELLFONT)) {
        c.p += 6;                   // point size, weight, italic, charset
        c.SzOrOrd();
    }
    std::vector<BYTE> out(base, c.p);
    std::vector<COleControlContainer::PendingItem> found;
    WORD kept = 0;
    UINT prevId = 0;
    for (WORD i = 0; i < count; ++i) {
        c.AlignDword();
        const BYTE* start = c.p;
        c.Dword();                  // help id
        const DWORD exStyle = c.Dword();
        const DWORD itemStyle = c.Dword();
        short rect[4];
        memcpy(rect, c.p, 8);
        c.p += 8;
        const DWORD id = c.Dword();
        const std::wstring cls = c.SzOrOrd();
        c.SzOrOrd();                // title
        const WORD extra = c.Word();
        c.p += extra;
        CLSID clsid;
        if (ParseClsid(cls, &clsid)) {
            found.push_back({clsid, static_cast<UINT>(id), itemStyle, exStyle,
                             {rect[0], rect[1], rect[0] + rect[2], rect[1] + rect[3]}, prevId});
        } else {
            while (out.size() % 4)
                out.push_back(0);
            out.insert(out.end(), start, c.p);
            ++kept;
        }
        prevId = id;
    }
    if (found.empty())
        return {};
    memcpy(out.data() + (countAt - base), &kept, sizeof kept);
    pending.insert(pending.end(), found.begin(), found.end());
    return out;
}

// --- container ------------------------------------------------------------------

COleControlContainer::COleControlContainer(CWnd* pWnd) : m_pWnd(pWnd)
{
}

COleControlContainer::~COleControlContainer()
{
    Teardown();
}

namespace {
// The data of the 0x0376 record for control nID in a DLGINIT resource.
bool FindPersistedState(HINSTANCE hInst, LPCTSTR name, UINT nID, const BYTE** data, DWORD* size)
{
    bool found = false;
    cl::ForEachDlgInitRecord(hInst, name, [&](const cl::DlgInitRecord& r) {
        if (r.id == nID && r.message == 0x0376) {
            *data = r.data;
            *size = r.length;
            found = true;
        }
        return !found;
    });
    return found;
}
} // namespace

void COleControlContainer::CreateControls(HINSTANCE hInst, LPCTSTR lpszResourceName)
{
    const std::vector<PendingItem> items = std::move(m_pending);
    m_pending.clear();
    for (const PendingItem& item : items) {
        RECT rc = item.rectDlu;
        ::MapDialogRect(m_pWnd->m_hWnd, &rc);
        COleControlSite* site = m_pWnd->CreateControlSite(this);
        if (!site)
            site = new COleControlSite(this);
        const BYTE* state = nullptr;
        DWORD stateSize = 0;
        FindPersistedState(hInst, lpszResourceName, item.nID, &state, &stateSize);
        if (!site->CreateControl(item.clsid, item.nID, item.dwStyle, rc, state, stateSize)) {
            site->Release();
            continue;
        }
        m_sites.push_back(site);
        // The control takes the item's place in the tab order.
        HWND after = item.nPrevId ? ::GetDlgItem(m_pWnd->m_hWnd, static_cast<int>(item.nPrevId)) : HWND_TOP;
        if (site->m_hWnd && after)
            ::SetWindowPos(site->m_hWnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        site->ConnectSink(m_pWnd, m_pWnd->GetEventSinkMap());
    }
}

void COleControlContainer::Teardown()
{
    std::vector<COleControlSite*> sites;
    sites.swap(m_sites);
    for (COleControlSite* site : sites) {
        site->DestroyControl();
        site->Release();
    }
}

COleControlSite* COleControlContainer::FindItem(UINT nID) const
{
    for (COleControlSite* site : m_sites)
        if (site->m_nID == nID)
            return site;
    return nullptr;
}

BOOL COleControlContainer::PreTranslateAccelerator(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    for (COleControlSite* site : m_sites) {
        if (site->m_pActiveObject && site->m_hWnd &&
            (pMsg->hwnd == site->m_hWnd || ::IsChild(site->m_hWnd, pMsg->hwnd)))
            return site->m_pActiveObject->TranslateAccelerator(pMsg) == S_OK;
    }
    return FALSE;
}

BOOL CWnd::CreateControl(REFCLSID clsid, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!pParentWnd || !pParentWnd->m_hWnd || m_hWnd || m_pCtrlSite)
        return FALSE;
    if (!pParentWnd->m_pCtrlCont)
        pParentWnd->m_pCtrlCont = new COleControlContainer(pParentWnd);
    COleControlContainer* cont = pParentWnd->m_pCtrlCont;
    COleControlSite* site = pParentWnd->CreateControlSite(cont);
    if (!site)
        site = new COleControlSite(cont);
    if (!site->CreateControl(clsid, nID, dwStyle, rect, nullptr, 0)) {
        site->Release();
        return FALSE;
    }
    cont->m_sites.push_back(site);
    site->ConnectSink(pParentWnd, pParentWnd->GetEventSinkMap());
    AttachControlSite(site);
    return TRUE;
}

// --- site -----------------------------------------------------------------------

COleControlSite::COleControlSite(COleControlContainer* pContainer) : m_pCtrlCont(pContainer)
{
}

COleControlSite::~COleControlSite()
{
    DestroyControl();
}

BOOL COleControlSite::CreateControl(REFCLSID clsid, UINT nID, DWORD dwStyle, const RECT& rect,
                                   const BYTE* pPersist, DWORD cbPersist)
{
    m_nID = nID;
    m_rect = rect;
    IOleObject* object = nullptr;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                  IID_IOleObject, reinterpret_cast<void**>(&object))) || !object)
        return FALSE;
    m_pObject = object;

    DWORD misc = 0;
    object->GetMiscStatus(DVASPECT_CONTENT, &misc);
    const bool siteFirst = (misc & OLEMISC_SETCLIENTSITEFIRST) != 0;
    if (siteFirst)
        object->SetClientSite(this);

    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(object->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist))) && persist) {
        IStream* stream = nullptr;
        HGLOBAL block = pPersist && cbPersist ? ::GlobalAlloc(GMEM_MOVEABLE, cbPersist) : nullptr;
        if (block) {
            memcpy(::GlobalLock(block), pPersist, cbPersist);
            ::GlobalUnlock(block);
            if (FAILED(::CreateStreamOnHGlobal(block, TRUE, &stream)))
                ::GlobalFree(block);
        }
        if (stream) {
            persist->Load(stream);
            stream->Release();
        } else {
            persist->InitNew();
        }
        persist->Release();
    }
    if (!siteFirst)
        object->SetClientSite(this);

    HWND hParent = m_pCtrlCont->m_pWnd->m_hWnd;
    CRect rc(rect);
    object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, hParent, &rc);
    if (SUCCEEDED(object->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlaceObject))) &&
        m_pInPlaceObject) {
        m_pInPlaceObject->GetWindow(&m_hWnd);
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    if (m_hWnd) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_ID, static_cast<LONG_PTR>(nID));
        if (dwStyle & WS_TABSTOP)
            ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | WS_TABSTOP);
    }
    if (!(dwStyle & WS_VISIBLE))
        ShowWindow(SW_HIDE);
    return TRUE;
}

void COleControlSite::DestroyControl()
{
    if (m_pSink) {
        m_pSink->Disconnect();
        m_pSink.reset();
    }
    if (m_pWndCtrl) {
        CWnd* wrapper = m_pWndCtrl;
        m_pWndCtrl = nullptr;
        wrapper->m_pCtrlSite = nullptr;
        wrapper->Detach();
    }
    if (m_pActiveObject) {
        m_pActiveObject->Release();
        m_pActiveObject = nullptr;
    }
    if (m_pInPlaceObject) {
        m_pInPlaceObject->UIDeactivate();
        m_pInPlaceObject->InPlaceDeactivate();
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    if (m_pObject) {
        IOleObject* object = static_cast<IOleObject*>(m_pObject);
        object->Close(OLECLOSE_NOSAVE);
        object->SetClientSite(nullptr);
        object->Release();
        m_pObject = nullptr;
    }
    m_hWnd = nullptr;
}

void COleControlSite::ConnectSink(CCmdTarget* pHandler, const CL_EVENTSINKMAP* pMap)
{
    if (!m_pObject || !pHandler || !pMap)
        return;
    // Only controls that the owner's map names get a sink.
    bool named = false;
    for (const CL_EVENTSINKMAP* map = pMap; map && !named; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const CL_EVENTSINKMAP_ENTRY* e = map->lpEntries; e->thunk && !named; ++e)
            named = e->ctrlId == m_nID;
    if (!named)
        return;
    auto sink = std::make_unique<cl::EventSink>(pHandler, pMap, m_nID);
    if (sink->Connect(m_pObject))
        m_pSink = std::move(sink);
}

void COleControlSite::SetFocus()
{
    if (!m_pObject)
        return;
    IOleObject* object = static_cast<IOleObject*>(m_pObject);
    CRect rc(m_rect);
    object->DoVerb(OLEIVERB_UIACTIVATE, nullptr, this, 0, m_pCtrlCont->m_pWnd->m_hWnd, &rc);
    // A control made without WS_VISIBLE is shown by its activation.
    if (m_hWnd && !::IsWindowVisible(m_hWnd))
        ::ShowWindow(m_hWnd, SW_SHOW);
    if (m_hWnd && !::IsChild(m_hWnd, ::GetFocus()) && ::GetFocus() != m_hWnd)
        ::SetFocus(m_hWnd);
}

void COleControlSite::MoveWindow(int x, int y, int cx, int cy)
{
    m_rect = CRect(x, y, x + cx, y + cy);
    if (m_pInPlaceObject)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    else if (m_hWnd)
        ::MoveWindow(m_hWnd, x, y, cx, cy, TRUE);
}

void COleControlSite::ShowWindow(int nCmdShow)
{
    if (!m_pObject)
        return;
    IOleObject* object = static_cast<IOleObject*>(m_pObject);
    CRect rc(m_rect);
    if (nCmdShow == SW_HIDE) {
        object->DoVerb(OLEIVERB_HIDE, nullptr, this, 0, m_pCtrlCont->m_pWnd->m_hWnd, &rc);
        if (m_hWnd)
            ::ShowWindow(m_hWnd, SW_HIDE);
    } else {
        object->DoVerb(OLEIVERB_SHOW, nullptr, this, 0, m_pCtrlCont->m_pWnd->m_hWnd, &rc);
        if (m_hWnd)
            ::ShowWindow(m_hWnd, nCmdShow);
    }
}

namespace {
// Builds the arguments of a dispatch call from a parameter-type string and
// C variable arguments; by-reference BOOLs are written back afterwards.
class DispArgs {
public:
    DispArgs(const BYTE* types, va_list list)
    {
        for (const BYTE* t = types; t && *t; ++t)
            ++m_count;
        m_args.resize(m_count);
        m_bools.resize(m_count);
        m_boolTargets.resize(m_count, nullptr);
        for (size_t i = 0; i < m_count; ++i) {
            VARIANT& v = m_args[m_count - 1 - i];  // last argument first
            ::VariantInit(&v);
            switch (types[i]) {
            case VT_I2: V_VT(&v) = VT_I2; V_I2(&v) = static_cast<short>(va_arg(list, int)); break;
            case VT_I4: V_VT(&v) = VT_I4; V_I4(&v) = va_arg(list, long); break;
            case VT_BOOL: V_VT(&v) = VT_BOOL; V_BOOL(&v) = va_arg(list, BOOL) ? VARIANT_TRUE : VARIANT_FALSE; break;
            case VT_BSTR: {
                LPCOLESTR s = va_arg(list, LPCOLESTR);
                V_VT(&v) = VT_BSTR;
                V_BSTR(&v) = s ? ::SysAllocString(s) : nullptr;
                break;
            }
            case VT_DISPATCH: V_VT(&v) = VT_DISPATCH; V_DISPATCH(&v) = va_arg(list, LPDISPATCH); m_borrowed.push_back(&v); break;
            case VT_UNKNOWN: V_VT(&v) = VT_UNKNOWN; V_UNKNOWN(&v) = va_arg(list, LPUNKNOWN); m_borrowed.push_back(&v); break;
            case VT_VARIANT | cl::kVtsByRef:
                V_VT(&v) = VT_VARIANT | VT_BYREF;
                V_VARIANTREF(&v) = va_arg(list, VARIANT*);
                break;
            case VT_I4 | cl::kVtsByRef: V_VT(&v) = VT_I4 | VT_BYREF; V_I4REF(&v) = va_arg(list, long*); break;
            case VT_BOOL | cl::kVtsByRef: {
                BOOL* target = va_arg(list, BOOL*);
                m_boolTargets[i] = target;
                m_bools[i] = target && *target ? VARIANT_TRUE : VARIANT_FALSE;
                V_VT(&v) = VT_BOOL | VT_BYREF;
                V_BOOLREF(&v) = &m_bools[i];
                break;
            }
            default: throw COleException(DISP_E_BADVARTYPE);
            }
        }
    }
    ~DispArgs()
    {
        // Borrowed interface pointers are not ours to release.
        for (VARIANT* v : m_borrowed)
            V_VT(v) = VT_EMPTY;
        for (VARIANT& v : m_args)
            ::VariantClear(&v);
    }
    void WriteBack()
    {
        for (size_t i = 0; i < m_count; ++i)
            if (m_boolTargets[i])
                *m_boolTargets[i] = m_bools[i] != VARIANT_FALSE;
    }
    VARIANT* data() { return m_args.empty() ? nullptr : m_args.data(); }
    UINT count() const { return static_cast<UINT>(m_count); }

private:
    size_t m_count = 0;
    std::vector<VARIANT> m_args;
    std::vector<VARIANT_BOOL> m_bools;
    std::vector<BOOL*> m_boolTargets;
    std::vector<VARIANT*> m_borrowed;
};

void StoreResult(VARIANT& result, VARTYPE vtRet, void* pvRet)
{
    if (vtRet == VT_EMPTY || !pvRet)
        return;
    if (V_VT(&result) != vtRet && FAILED(::VariantChangeType(&result, &result, 0, vtRet)))
        throw COleException(DISP_E_TYPEMISMATCH);
    switch (vtRet) {
    case VT_I2: *static_cast<short*>(pvRet) = V_I2(&result); break;
    case VT_I4: *static_cast<long*>(pvRet) = V_I4(&result); break;
    case VT_BOOL: *static_cast<BOOL*>(pvRet) = V_BOOL(&result) != VARIANT_FALSE; break;
    case VT_BSTR: *static_cast<BSTR*>(pvRet) = V_BSTR(&result); V_VT(&result) = VT_EMPTY; break;
    case VT_DISPATCH: *static_cast<LPDISPATCH*>(pvRet) = V_DISPATCH(&result); V_VT(&result) = VT_EMPTY; break;
    case VT_VARIANT: *static_cast<VARIANT*>(pvRet) = result; V_VT(&result) = VT_EMPTY; break;
    default: throw COleException(DISP_E_BADVARTYPE);
    }
}
} // namespace

void COleControlSite::InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                                    const BYTE* pbParamInfo, va_list argList)
{
    if (!m_pObject)
        return;
    IDispatch* dispatch = nullptr;
    if (FAILED(m_pObject->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))) || !dispatch)
        throw COleException(E_NOINTERFACE);

    DispArgs args(pbParamInfo, argList);
    DISPPARAMS params = {args.data(), nullptr, args.count(), 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    VARIANT result;
    ::VariantInit(&result);
    EXCEPINFO excep;
    memset(&excep, 0, sizeof excep);
    UINT argErr = 0;
    const HRESULT hr = dispatch->Invoke(dwDispID, IID_NULL, LOCALE_USER_DEFAULT, wFlags, &params,
                                        vtRet == VT_EMPTY ? nullptr : &result, &excep, &argErr);
    dispatch->Release();
    if (FAILED(hr)) {
        ::VariantClear(&result);
        if (hr == DISP_E_EXCEPTION) {
            if (excep.pfnDeferredFillIn)
                excep.pfnDeferredFillIn(&excep);
            COleDispatchException error(excep);
            ::SysFreeString(excep.bstrSource);
            ::SysFreeString(excep.bstrDescription);
            ::SysFreeString(excep.bstrHelpFile);
            throw error;
        }
        throw COleException(hr);
    }
    args.WriteBack();
    try {
        StoreResult(result, vtRet, pvRet);
    } catch (...) {
        ::VariantClear(&result);
        throw;
    }
    ::VariantClear(&result);
}

HRESULT COleControlSite::QueryExtraInterface(REFIID, void** ppv)
{
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleControlSite::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleControlSite)
        *ppv = static_cast<IOleControlSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else
        return QueryExtraInterface(riid, ppv);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) COleControlSite::AddRef()
{
    return ++m_cRef;
}

STDMETHODIMP_(ULONG) COleControlSite::Release()
{
    const ULONG count = --m_cRef;
    if (count == 0)
        delete this;
    return count;
}

STDMETHODIMP COleControlSite::SaveObject() { return S_OK; }
STDMETHODIMP COleControlSite::GetMoniker(DWORD, DWORD, IMoniker** ppmk)
{
    if (ppmk)
        *ppmk = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::GetContainer(IOleContainer** ppContainer)
{
    if (ppContainer)
        *ppContainer = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP COleControlSite::ShowObject() { return S_OK; }
STDMETHODIMP COleControlSite::OnShowWindow(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

STDMETHODIMP COleControlSite::GetWindow(HWND* phwnd)
{
    if (!phwnd)
        return E_POINTER;
    *phwnd = m_pCtrlCont && m_pCtrlCont->m_pWnd ? m_pCtrlCont->m_pWnd->m_hWnd : nullptr;
    return *phwnd ? S_OK : E_FAIL;
}
STDMETHODIMP COleControlSite::ContextSensitiveHelp(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::CanInPlaceActivate() { return S_OK; }
STDMETHODIMP COleControlSite::OnInPlaceActivate()
{
    m_bInPlaceActive = true;
    return S_OK;
}
STDMETHODIMP COleControlSite::OnUIActivate() { return S_OK; }
STDMETHODIMP COleControlSite::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                               LPRECT lprcPosRect, LPRECT lprcClipRect,
                                               LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    if (!ppFrame || !ppDoc || !lprcPosRect || !lprcClipRect)
        return E_POINTER;
    *ppFrame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *ppDoc = nullptr;
    *lprcPosRect = m_rect;
    *lprcClipRect = m_rect;
    if (lpFrameInfo) {
        lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        lpFrameInfo->fMDIApp = FALSE;
        HWND hWnd = m_pCtrlCont->m_pWnd->m_hWnd;
        HWND top = ::GetAncestor(hWnd, GA_ROOT);
        lpFrameInfo->hwndFrame = top ? top : hWnd;
        lpFrameInfo->haccel = nullptr;
        lpFrameInfo->cAccelEntries = 0;
    }
    return S_OK;
}
STDMETHODIMP COleControlSite::Scroll(SIZE) { return E_NOTIMPL; }
STDMETHODIMP COleControlSite::OnUIDeactivate(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::OnInPlaceDeactivate()
{
    m_bInPlaceActive = false;
    return S_OK;
}
STDMETHODIMP COleControlSite::DiscardUndoState() { return S_OK; }
STDMETHODIMP COleControlSite::DeactivateAndUndo() { return S_OK; }

// The control asks for a new position or size (its Width and Height
// properties come here): applying it is what makes it take effect.
STDMETHODIMP COleControlSite::OnPosRectChange(LPCRECT lprcPosRect)
{
    if (!lprcPosRect)
        return E_POINTER;
    m_rect = *lprcPosRect;
    if (m_pInPlaceObject)
        m_pInPlaceObject->SetObjectRects(&m_rect, &m_rect);
    return S_OK;
}

STDMETHODIMP COleControlSite::OnControlInfoChanged() { return S_OK; }
STDMETHODIMP COleControlSite::LockInPlaceActive(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::GetExtendedControl(IDispatch** ppDisp)
{
    if (ppDisp)
        *ppDisp = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::TransformCoords(POINTL*, POINTF*, DWORD) { return E_NOTIMPL; }
STDMETHODIMP COleControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }
STDMETHODIMP COleControlSite::OnFocus(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

STDMETHODIMP COleControlSite::GetBorder(LPRECT) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP COleControlSite::RequestBorderSpace(LPCBORDERWIDTHS) { return INPLACE_E_NOTOOLSPACE; }
STDMETHODIMP COleControlSite::SetBorderSpace(LPCBORDERWIDTHS) { return S_OK; }
STDMETHODIMP COleControlSite::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR)
{
    if (pActiveObject)
        pActiveObject->AddRef();
    if (m_pActiveObject)
        m_pActiveObject->Release();
    m_pActiveObject = pActiveObject;
    return S_OK;
}
STDMETHODIMP COleControlSite::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) { return S_OK; }
STDMETHODIMP COleControlSite::SetMenu(HMENU, HOLEMENU, HWND) { return S_OK; }
STDMETHODIMP COleControlSite::RemoveMenus(HMENU) { return S_OK; }
STDMETHODIMP COleControlSite::SetStatusText(LPCOLESTR) { return S_OK; }
STDMETHODIMP COleControlSite::EnableModeless(BOOL) { return S_OK; }
STDMETHODIMP COleControlSite::TranslateAccelerator(LPMSG, WORD) { return S_FALSE; }

STDMETHODIMP COleControlSite::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo)
        *pctinfo = 0;
    return S_OK;
}
STDMETHODIMP COleControlSite::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP COleControlSite::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

// The ambient properties a control reads from its container.
STDMETHODIMP COleControlSite::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS*,
                                     VARIANT* pVarResult, EXCEPINFO*, UINT*)
{
    if (!(wFlags & DISPATCH_PROPERTYGET))
        return DISP_E_MEMBERNOTFOUND;
    if (!pVarResult)
        return E_POINTER;
    ::VariantInit(pVarResult);
    switch (dispIdMember) {
    case DISPID_AMBIENT_USERMODE:
        V_VT(pVarResult) = VT_BOOL; V_BOOL(pVarResult) = VARIANT_TRUE; return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_DISPLAYASDEFAULT:
    case DISPID_AMBIENT_MESSAGEREFLECT:
        V_VT(pVarResult) = VT_BOOL; V_BOOL(pVarResult) = VARIANT_FALSE; return S_OK;
    case DISPID_AMBIENT_LOCALEID:
        V_VT(pVarResult) = VT_I4; V_I4(pVarResult) = static_cast<LONG>(::GetUserDefaultLCID()); return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        V_VT(pVarResult) = VT_I4; V_I4(pVarResult) = static_cast<LONG>(::GetSysColor(COLOR_BTNFACE)); return S_OK;
    case DISPID_AMBIENT_FORECOLOR:
        V_VT(pVarResult) = VT_I4; V_I4(pVarResult) = static_cast<LONG>(::GetSysColor(COLOR_BTNTEXT)); return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}
