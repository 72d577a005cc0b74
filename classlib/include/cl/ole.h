// Hosting ActiveX controls in dialogs, calling them through IDispatch, and
// receiving their events.
//
// Classes in this file: COleException, COleDispatchException,
// COleControlSite, COleControlContainer; the event sink map macros.
//
// A dialog template item whose class is a CLSID in braces becomes an ActiveX
// control: the item is left out of the template handed to the system, and
// while the dialog handles WM_INITDIALOG (before OnInitDialog) the control is
// created, loads its state from the dialog's DLGINIT record (message 0x0376)
// or starts new, is activated in place at the item's rectangle, and takes
// the item's id and tab position. The window's container owns one site per
// control; when the window is destroyed the sinks are disconnected and the
// controls closed and released.
#pragma once

#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>

#include <memory>
#include <vector>

#include "wnd.h"

// --- automation exceptions -----------------------------------------------

// A failed OLE or automation call: the failure code.
class COleException {
public:
    explicit COleException(SCODE sc) : m_sc(sc) {}
    virtual ~COleException() = default;
    SCODE m_sc;
};

// The called object reported an exception (DISP_E_EXCEPTION).
class COleDispatchException : public COleException {
public:
    explicit COleDispatchException(const EXCEPINFO& info);
    WORD m_wCode;
    SCODE m_scError;
    CString m_strSource;
    CString m_strDescription;
};

// --- parameter-type strings ------------------------------------------------
// One byte per parameter: a VARTYPE, with 0x40 added for "by reference".
#define VTS_NONE        ""
#define VTS_I2          "\x02"
#define VTS_I4          "\x03"
#define VTS_BSTR        "\x08"
#define VTS_DISPATCH    "\x09"
#define VTS_BOOL        "\x0B"
#define VTS_VARIANT     "\x0C"
#define VTS_UNKNOWN     "\x0D"
#define VTS_PI4         "\x43"
#define VTS_PBSTR       "\x48"
#define VTS_PBOOL       "\x4B"
#define VTS_PVARIANT    "\x4C"

namespace cl {
constexpr BYTE kVtsByRef = 0x40;
class EventSink;
} // namespace cl

// --- event sink maps -------------------------------------------------------

using CL_EVENT_THUNK = HRESULT (*)(CCmdTarget* target, const char* vts, DISPPARAMS* params);

struct CL_EVENTSINKMAP_ENTRY {
    UINT ctrlId;
    DISPID dispid;
    const char* vts;           // parameter types, one byte per parameter
    CL_EVENT_THUNK thunk;      // null ends the table
};

struct CL_EVENTSINKMAP {
    const CL_EVENTSINKMAP* (*pfnGetBaseMap)();
    const CL_EVENTSINKMAP_ENTRY* lpEntries;
};

#define DECLARE_EVENTSINK_MAP()                                     \
protected:                                                          \
    static const CL_EVENTSINKMAP* GetThisEventSinkMap();            \
    const CL_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                    \
    const CL_EVENTSINKMAP* theClass::GetEventSinkMap() const        \
    {                                                               \
        return GetThisEventSinkMap();                               \
    }                                                               \
    const CL_EVENTSINKMAP* theClass::GetThisEventSinkMap()          \
    {                                                               \
        using ThisClass [[maybe_unused]] = theClass;                \
        using TheBaseClass = baseClass;                             \
        static const CL_EVENTSINKMAP_ENTRY _eventEntries[] = {

// handler: void or BOOL member taking the event's parameters as the
// parameter-type string describes them (VTS_DISPATCH: LPDISPATCH,
// VTS_PVARIANT: VARIANT*, VTS_PBOOL: BOOL*, VTS_I4: long, VTS_BSTR: BSTR...).
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams)       \
    {static_cast<UINT>(id), static_cast<DISPID>(dispid), vtsParams, \
     &cl::event::Thunk<decltype(&theClass::pfnHandler), &theClass::pfnHandler>},

#define END_EVENTSINK_MAP()                                         \
        {0, 0, nullptr, nullptr}};                                  \
        static const CL_EVENTSINKMAP eventMap = {                   \
            &TheBaseClass::GetThisEventSinkMap, &_eventEntries[0]}; \
        return &eventMap;                                           \
    }

// --- sites and containers --------------------------------------------------

class COleControlContainer;

// One hosted control: its client, in-place and control site, its in-place
// frame, and the ambient properties. Reference-counted; the container holds
// one reference.
class COleControlSite : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleControlSite,
                        public IOleInPlaceFrame,
                        public IDispatch {
public:
    explicit COleControlSite(COleControlContainer* pContainer);
    virtual ~COleControlSite();
    COleControlSite(const COleControlSite&) = delete;
    COleControlSite& operator=(const COleControlSite&) = delete;

    // Creates, loads and activates the control. FALSE when it cannot be made.
    BOOL CreateControl(REFCLSID clsid, UINT nID, DWORD dwStyle, const RECT& rect,
                       const BYTE* pPersist, DWORD cbPersist);
    // Disconnects, closes and releases the control (idempotent).
    void DestroyControl();

    // Connects an event sink to the control's default source interface.
    void ConnectSink(CCmdTarget* pHandler, const CL_EVENTSINKMAP* pMap);

    // Calls the control's IDispatch; raises COleDispatchException or
    // COleException on failure.
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet,
                       const BYTE* pbParamInfo, va_list argList);
    // In-place activation with the user interface, shown, with the focus.
    void SetFocus();
    // Moves the control (coordinates in the container's client area).
    void MoveWindow(int x, int y, int cx, int cy);
    void ShowWindow(int nCmdShow);

    UINT m_nID = 0;
    HWND m_hWnd = nullptr;          // the control's in-place window
    CRect m_rect;                   // position in the container's client area
    IUnknown* m_pObject = nullptr;  // the control (one reference)
    CWnd* m_pWndCtrl = nullptr;     // the wrapper bound by DDX_Control, if any
    COleControlContainer* m_pCtrlCont;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override;
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** ppmk) override;
    STDMETHODIMP GetContainer(IOleContainer** ppContainer) override;
    STDMETHODIMP ShowObject() override;
    STDMETHODIMP OnShowWindow(BOOL) override;
    STDMETHODIMP RequestNewObjectLayout() override;
    // IOleWindow (for the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* phwnd) override;
    STDMETHODIMP ContextSensitiveHelp(BOOL) override;
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override;
    STDMETHODIMP OnInPlaceActivate() override;
    STDMETHODIMP OnUIActivate() override;
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                  LPRECT lprcPosRect, LPRECT lprcClipRect,
                                  LPOLEINPLACEFRAMEINFO lpFrameInfo) override;
    STDMETHODIMP Scroll(SIZE) override;
    STDMETHODIMP OnUIDeactivate(BOOL) override;
    STDMETHODIMP OnInPlaceDeactivate() override;
    STDMETHODIMP DiscardUndoState() override;
    STDMETHODIMP DeactivateAndUndo() override;
    STDMETHODIMP OnPosRectChange(LPCRECT lprcPosRect) override;
    // IOleControlSite
    STDMETHODIMP OnControlInfoChanged() override;
    STDMETHODIMP LockInPlaceActive(BOOL) override;
    STDMETHODIMP GetExtendedControl(IDispatch** ppDisp) override;
    STDMETHODIMP TransformCoords(POINTL* pPtlHimetric, POINTF* pPtfContainer, DWORD dwFlags) override;
    STDMETHODIMP TranslateAccelerator(MSG* pMsg, DWORD grfModifiers) override;
    STDMETHODIMP OnFocus(BOOL) override;
    STDMETHODIMP ShowPropertyFrame() override;
    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT lprectBorder) override;
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override;
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) override;
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override;
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override;
    STDMETHODIMP RemoveMenus(HMENU) override;
    STDMETHODIMP SetStatusText(LPCOLESTR) override;
    STDMETHODIMP EnableModeless(BOOL) override;
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override;
    // IDispatch: the ambient properties
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO*, UINT*) override;

    // The active object the control registered (keyboard forwarding).
    IOleInPlaceActiveObject* m_pActiveObject = nullptr;

protected:
    // More interfaces a derived site answers (a host UI handler, say).
    virtual HRESULT QueryExtraInterface(REFIID riid, void** ppv);

private:
    ULONG m_cRef = 1;
    IOleInPlaceObject* m_pInPlaceObject = nullptr;
    std::unique_ptr<cl::EventSink> m_pSink;
    bool m_bInPlaceActive = false;
};

// The controls of one window, created from its dialog template.
class COleControlContainer {
public:
    explicit COleControlContainer(CWnd* pWnd);
    ~COleControlContainer();
    COleControlContainer(const COleControlContainer&) = delete;
    COleControlContainer& operator=(const COleControlContainer&) = delete;

    // A template item that is an ActiveX control (recorded when the template
    // is split, created at WM_INITDIALOG).
    struct PendingItem {
        CLSID clsid;
        UINT nID;
        DWORD dwStyle;
        DWORD dwExStyle;
        RECT rectDlu;       // dialog units
        UINT nPrevId;       // the template item before it (tab order), 0 when first
    };
    std::vector<PendingItem> m_pending;

    // Creates the pending controls, with their persisted state from the
    // DLGINIT resource lpszResourceName of hInst, and connects the owner's
    // event sink map.
    void CreateControls(HINSTANCE hInst, LPCTSTR lpszResourceName);
    // Takes every control down (sinks, close, release); wrappers are unbound.
    void Teardown();
    COleControlSite* FindItem(UINT nID) const;
    // Offers a keyboard message to the active control. TRUE when it took it.
    BOOL PreTranslateAccelerator(MSG* pMsg);

    CWnd* m_pWnd;
    std::vector<COleControlSite*> m_sites;  // one reference each
};

// Copies a dialog template without its ActiveX items, which are appended to
// pending. Returns an empty vector when the template has none (or is not an
// extended template), so the original can be used as it is.
std::vector<BYTE> AfxSplitDialogTemplate(LPCDLGTEMPLATE lpTemplate,
                                         std::vector<COleControlContainer::PendingItem>& pending);

#include "oleevents.h"
