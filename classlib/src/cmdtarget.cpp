#include "cl/cmdtarget.h"
#include "cl/ole.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

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
