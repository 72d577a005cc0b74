// CCmdTarget: the root of every class that has a message map.
#pragma once

#include "msgmap.h"
#include "object.h"

struct CL_EVENTSINKMAP;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes a command (WM_COMMAND id and notification code) through this
    // object's message map. TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The event sink map (ole.h): events of hosted controls, by control id.
    virtual const CL_EVENTSINKMAP* GetEventSinkMap() const;

protected:
    static const CL_MSGMAP* GetThisMessageMap();
    virtual const CL_MSGMAP* GetMessageMap() const;
    static const CL_EVENTSINKMAP* GetThisEventSinkMap();

    // Finds the first entry for (message, code, id) in this object's map
    // chain, most derived class first. Null when there is none.
    const CL_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;

    // Calls the handler of the first matching entry. FALSE when there is no
    // entry or the handler declined.
    BOOL DispatchToMap(UINT mapMessage, UINT code, UINT id, UINT message, WPARAM wParam,
                       LPARAM lParam, LRESULT& result);
};
