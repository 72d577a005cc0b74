// A stand-in for the system browser control, registered in the test process
// for the browser's CLSID. It records what the host does to it (persisted
// state loaded, client site, activation, Close, references, navigations)
// and fires the events the real control fires, including the ones Wine's
// control cannot: NavigateComplete2 for a page and its frames, whose
// documents take a UI handler.
#pragma once

#include <exdisp.h>
#include <mshtmhst.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "web_browser_stub.h"

namespace fake {

// A document that accepts a UI handler (ICustomDoc).
class Document : public ICustomDoc {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP SetUIHandler(IDocHostUIHandler* pUIHandler) override;
    virtual ~Document();

    ULONG refs = 1;
    IDocHostUIHandler* handler = nullptr;
    int handlerSets = 0;
};

// A browser object of a page or frame: IWebBrowser2 whose document may be
// missing.
class Frame : public WebBrowser2Stub {
public:
    explicit Frame(Document* document) : doc(document) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_Document(IDispatch** ppDisp) override;

    ULONG refs = 1;
    Document* doc;
};

// The control: OLE object, in-place object, persistence, automation,
// connection points and class information.
class Browser : public Frame,
                public IOleObject,
                public IOleInPlaceObject,
                public IPersistStreamInit,
                public IConnectionPointContainer,
                public IConnectionPoint,
                public IProvideClassInfo2 {
public:
    Browser();
    virtual ~Browser();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    // IDispatch: Navigate2 (fires BeforeNavigate2), Width and Height (asks
    // the site to apply the new size, as the real control does), and 0x7777,
    // which reports an exception of its own.
    STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD wFlags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override;

    // IOleObject
    STDMETHODIMP SetClientSite(IOleClientSite* pClientSite) override;
    STDMETHODIMP GetClientSite(IOleClientSite** ppClientSite) override;
    STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP Close(DWORD) override;
    STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
    STDMETHODIMP DoVerb(LONG iVerb, LPMSG, IOleClientSite*, LONG, HWND hwndParent, LPCRECT lprcPosRect) override;
    STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
    STDMETHODIMP Update() override { return S_OK; }
    STDMETHODIMP IsUpToDate() override { return S_OK; }
    STDMETHODIMP GetUserClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
    STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
    STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
    STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
    STDMETHODIMP GetMiscStatus(DWORD, DWORD* pdwStatus) override;
    STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleInPlaceObject
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }
    STDMETHODIMP InPlaceDeactivate() override;
    STDMETHODIMP UIDeactivate() override { return S_OK; }
    STDMETHODIMP SetObjectRects(LPCRECT lprcPosRect, LPCRECT) override;
    STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }

    // IPersistStreamInit
    STDMETHODIMP GetClassID(CLSID* pClassID) override;
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM pStm) override;
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override;

    // IConnectionPointContainer / IConnectionPoint (DWebBrowserEvents2 only)
    STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) override;
    STDMETHODIMP GetConnectionInterface(IID* pIID) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** ppCPC) override;
    STDMETHODIMP Advise(IUnknown* pUnkSink, DWORD* pdwCookie) override;
    STDMETHODIMP Unadvise(DWORD dwCookie) override;
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // IProvideClassInfo2
    STDMETHODIMP GetClassInfo(ITypeInfo** ppTI) override;
    STDMETHODIMP GetGUID(DWORD dwGuidKind, GUID* pGUID) override;

    // Fires an event at every advised sink, arguments in source order.
    void Fire(DISPID dispid, std::vector<VARIANT> args);
    // NavigateComplete2 for the given page or frame object.
    void FireNavigateComplete(IDispatch* frame, const wchar_t* url);

    // What was done to the control.
    std::vector<BYTE> loaded;
    bool initNew = false;
    IOleClientSite* site = nullptr;
    bool closed = false;
    bool inPlace = false;
    std::vector<LONG> verbs;
    std::vector<std::wstring> navigations;
    std::vector<IDispatch*> sinks;  // index + 1 is the cookie; null once unadvised
    HWND hwnd = nullptr;
};

// Makes Browser objects for CoCreateInstance while registered.
class Factory : public IClassFactory {
public:
    Factory();
    ~Factory();
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

    std::vector<Browser*> made;  // owned; kept for inspection until the factory goes

private:
    DWORD m_cookie = 0;
};

} // namespace fake
