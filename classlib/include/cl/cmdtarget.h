// CCmdTarget: the root of every class that has a message map.
#pragma once

#include <memory>

#include "msgmap.h"
#include "object.h"

struct IDispatch;
namespace cl {
class AutomationObject;
}

struct CL_EVENTSINKMAP;

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Routes a command (WM_COMMAND id and notification code) through this
    // object's message map. TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

    // The event sink map (ole.h): events of hosted controls, by control id.
    virtual const CL_EVENTSINKMAP* GetEventSinkMap() const;

    // Gives this object an automation interface (an IDispatch that exposes no
    // methods or properties); it lives as long as the object.
    void EnableAutomation();
    // The automation interface, or null before EnableAutomation.
    IDispatch* GetIDispatch(BOOL bAddRef);

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

private:
    std::unique_ptr<cl::AutomationObject> m_pAutomation;
};
