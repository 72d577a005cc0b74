// Static message maps.
//
// A class declares DECLARE_MESSAGE_MAP() and defines its table with
// BEGIN_MESSAGE_MAP(Class, Base) ... END_MESSAGE_MAP(). The dispatcher walks the
// class's table, then its base's, and so on up to CCmdTarget. Every entry
// holds a small "thunk" instantiated for the exact handler: the thunk unpacks
// wParam/lParam and calls the handler, so a handler with the wrong signature
// does not compile.
#pragma once

#include <windows.h>

class CCmdTarget;

namespace cl {

// Calls one handler. Returns FALSE when the handler declined the message (a
// reflected colour request answered with a null brush); result receives the
// message's return value.
using MsgThunk = BOOL (*)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT& result);

// Message ids that only exist inside message maps.
constexpr UINT kMsgCtlColor = 0x0019;      // any WM_CTLCOLORxxx request
constexpr UINT kReflectBase = 0xBC00;      // kReflectBase + msg: a message reflected to the child

template <class T> struct member_class;
template <class C, class R, class... A> struct member_class<R (C::*)(A...)> { using type = C; };
template <class T> using member_class_t = typename member_class<T>::type;

} // namespace cl

struct CL_MSGMAP_ENTRY {
    UINT message;   // window message, WM_COMMAND, or one of the pseudo ids above
    UINT code;      // notification code of WM_COMMAND entries
    UINT idFirst;   // control or command id range of WM_COMMAND entries
    UINT idLast;
    cl::MsgThunk thunk;  // null ends the table
};

struct CL_MSGMAP {
    const CL_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
    const CL_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const CL_MSGMAP* GetThisMessageMap();                \
    const CL_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                  \
    const CL_MSGMAP* theClass::GetMessageMap() const            \
    {                                                           \
        return GetThisMessageMap();                             \
    }                                                           \
    const CL_MSGMAP* theClass::GetThisMessageMap()              \
    {                                                           \
        using ThisClass [[maybe_unused]] = theClass;            \
        using TheBaseClass = baseClass;                         \
        static const CL_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                       \
        {0, 0, 0, 0, nullptr}};                                 \
        static const CL_MSGMAP messageMap = {                   \
            &TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap;                                     \
    }

// Entry for a message whose handler is the named member of ThisClass (or of
// a base), unpacked by the thunk template `kind`.
#define CL_MSG_ENTRY(msg, code, id1, id2, kind, member)                                  \
    {msg, code, id1, id2,                                                                \
     &cl::thunk::kind<cl::member_class_t<decltype(&ThisClass::member)>, &ThisClass::member>},

// int OnCreate(LPCREATESTRUCT lpCreateStruct)
#define ON_WM_CREATE()      CL_MSG_ENTRY(WM_CREATE, 0, 0, 0, i_create, OnCreate)
// void OnDestroy()
#define ON_WM_DESTROY()     CL_MSG_ENTRY(WM_DESTROY, 0, 0, 0, v_v, OnDestroy)
// void OnClose()
#define ON_WM_CLOSE()       CL_MSG_ENTRY(WM_CLOSE, 0, 0, 0, v_v, OnClose)
// void OnMove(int x, int y)
#define ON_WM_MOVE()        CL_MSG_ENTRY(WM_MOVE, 0, 0, 0, v_xy, OnMove)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()        CL_MSG_ENTRY(WM_SIZE, 0, 0, 0, v_u_xy, OnSize)
// void OnPaint()
#define ON_WM_PAINT()       CL_MSG_ENTRY(WM_PAINT, 0, 0, 0, v_v, OnPaint)
// void OnLButtonDown(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONDOWN() CL_MSG_ENTRY(WM_LBUTTONDOWN, 0, 0, 0, v_u_pt, OnLButtonDown)
// void OnLButtonUp(UINT nFlags, CPoint point)
#define ON_WM_LBUTTONUP()   CL_MSG_ENTRY(WM_LBUTTONUP, 0, 0, 0, v_u_pt, OnLButtonUp)
// void OnMouseMove(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE()   CL_MSG_ENTRY(WM_MOUSEMOVE, 0, 0, 0, v_u_pt, OnMouseMove)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND()  CL_MSG_ENTRY(WM_ERASEBKGND, 0, 0, 0, b_dc, OnEraseBkgnd)
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor): every WM_CTLCOLORxxx
#define ON_WM_CTLCOLOR()    CL_MSG_ENTRY(cl::kMsgCtlColor, 0, 0, 0, h_dc_wnd_u, OnCtlColor)
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor): a colour request reflected by the parent
#define ON_WM_CTLCOLOR_REFLECT() \
    CL_MSG_ENTRY(cl::kReflectBase + cl::kMsgCtlColor, 0, 0, 0, h_dc_u, CtlColor)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
#define ON_WM_DRAWITEM()    CL_MSG_ENTRY(WM_DRAWITEM, 0, 0, 0, v_i_dis, OnDrawItem)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()       CL_MSG_ENTRY(WM_TIMER, 0, 0, 0, v_uptr, OnTimer)
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn) CL_MSG_ENTRY(message, 0, 0, 0, l_w_l, memberFxn)
// void memberFxn(): a command or a control notification with code 0
#define ON_COMMAND(id, memberFxn)      CL_MSG_ENTRY(WM_COMMAND, 0, id, id, v_v, memberFxn)
// void memberFxn(): BN_CLICKED from the button with this id
#define ON_BN_CLICKED(id, memberFxn)   CL_MSG_ENTRY(WM_COMMAND, BN_CLICKED, id, id, v_v, memberFxn)
// void memberFxn(): any notification code from the control with this id
#define ON_CONTROL(code, id, memberFxn) CL_MSG_ENTRY(WM_COMMAND, code, id, id, v_v, memberFxn)
