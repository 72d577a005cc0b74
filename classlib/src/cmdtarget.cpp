#include <ole2.h>

#include "cl/cmdtarget.h"
#include "cl/ole.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace cl {
// The automation interface of a CCmdTarget: answers no names and no members.
// Its count serves the COM contract only; the owner ends it.
class AutomationObject : public IDispatch {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IDispatch)
            return E_NOINTERFACE;
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_cRef; }
    STDMETHODIMP_(ULONG) Release() override { return m_cRef ? --m_cRef : 0; }
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override
    {
        if (!pctinfo)
            return E_POINTER;
        *pctinfo = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override
    {
        if (ppTInfo)
            *ppTInfo = nullptr;
        return DISP_E_BADINDEX;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT cNames, LCID, DISPID* rgDispId) override
    {
        for (UINT i = 0; rgDispId && i < cNames; ++i)
            rgDispId[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    ULONG m_cRef = 0;
};
} // namespace cl

CCmdTarget::CCmdTarget() = default;

CCmdTarget::~CCmdTarget() = default;

void CCmdTarget::EnableAutomation()
{
    if (!m_pAutomation)
        m_pAutomation = std::make_unique<cl::AutomationObject>();
}

IDispatch* CCmdTarget::GetIDispatch(BOOL bAddRef)
{
    if (!m_pAutomation)
        return nullptr;
    if (bAddRef)
        m_pAutomation->AddRef();
    return m_pAutomation.get();
}

const CL_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const CL_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const CL_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const CL_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const CL_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const
{
    for (const CL_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const CL_MSGMAP_ENTRY* e = map->lpEntries; e->thunk; ++e) {
            if (e->message != message)
                continue;
            if (message == WM_COMMAND && (e->code != code || id < e->idFirst || id > e->idLast))
                continue;
            return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchToMap(UINT mapMessage, UINT code, UINT id, UINT message, WPARAM wParam,
                               LPARAM lParam, LRESULT& result)
{
    const CL_MSGMAP_ENTRY* e = FindMessageEntry(mapMessage, code, id);
    if (!e)
        return FALSE;
    return e->thunk(this, message, wParam, lParam, result);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode)
{
    LRESULT ignored = 0;
    return DispatchToMap(WM_COMMAND, static_cast<UINT>(nCode), nID, WM_COMMAND,
                         MAKEWPARAM(nID, nCode), 0, ignored);
}

const CL_EVENTSINKMAP* CCmdTarget::GetThisEventSinkMap()
{
    static const CL_EVENTSINKMAP_ENTRY entries[] = {{0, 0, nullptr, nullptr}};
    static const CL_EVENTSINKMAP map = {nullptr, &entries[0]};
    return &map;
}

const CL_EVENTSINKMAP* CCmdTarget::GetEventSinkMap() const
{
    return GetThisEventSinkMap();
}
