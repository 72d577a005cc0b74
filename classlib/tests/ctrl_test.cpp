// Buttons and tool tips on real windows: creation, state, the owner-drawn
// paint reflected to DrawItem, tools, texts, delays, and a relayed mouse
// move that shows a tip.
#include <gtest/gtest.h>

#include <vector>

#include "afxwin.h"
#include "test_resources.h"

namespace {

const wchar_t kHostClass[] = L"ClCtrlTestHost";

// A visible top-level window at a fixed place, for tools and buttons.
class Host : public CWnd {
public:
    Host()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = ::DefWindowProcW;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
            wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            wc.lpszClassName = kHostClass;
            ::RegisterClassW(&wc);
            registered = true;
        }
        CreateEx(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE, 200, 200, 200, 120, nullptr, nullptr);
    }
};

void Pump(DWORD ms)
{
    const DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

TEST(Button, CreatesAButtonControlAndSetsItsState)
{
    Host host;
    CButton button;
    ASSERT_TRUE(button.Create(L"Press", BS_PUSHBUTTON | WS_VISIBLE, CRect(10, 10, 90, 40), &host, 4242));
    wchar_t cls[32] = {};
    ::GetClassNameW(button.m_hWnd, cls, 32);
    EXPECT_STREQ(cls, L"Button");
    EXPECT_EQ(button.GetParent(), &host);
    EXPECT_EQ(button.GetDlgCtrlID(), 4242);
    EXPECT_EQ(button.GetWindowText(), L"Press");
    EXPECT_TRUE(button.GetStyle() & WS_CHILD);
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CWnd)));

    for (BOOL pushed : {TRUE, FALSE}) {
        button.SetState(pushed);
        EXPECT_EQ((button.GetState() & BST_PUSHED) != 0, pushed != FALSE) << pushed;
    }
}

// An owner-drawn button that records its draws and its reflected colour requests.
class RecordingButton : public CButton {
public:
    std::vector<DRAWITEMSTRUCT> draws;
    int colourRequests = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override { draws.push_back(*lpDrawItemStruct); }
    HBRUSH CtlColor(CDC*, UINT)
    {
        ++colourRequests;
        return nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingButton, CButton)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ButtonForm : public CDialog {
public:
    ButtonForm() : CDialog(IDD_TEST_FORM) {}
    RecordingButton m_button;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_OWNERDRAW, m_button); }
};

TEST(Button, OwnerDrawnPaintsReachDrawItem)
{
    ButtonForm form;
    ASSERT_TRUE(form.Create(IDD_TEST_FORM));
    RecordingButton& b = form.m_button;
    ASSERT_NE(b.m_hWnd, nullptr);
    form.ShowWindow(SW_SHOWNOACTIVATE);
    form.UpdateWindow();

    // Each paint: the colour request to the map, the draw request to DrawItem.
    struct Step {
        const char* what;
        BOOL pushed;
        bool selected;
    };
    const Step steps[] = {{"at rest", FALSE, false}, {"pushed", TRUE, true}, {"released", FALSE, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        b.draws.clear();
        b.colourRequests = 0;
        b.SetState(s.pushed);
        b.Invalidate();
        b.UpdateWindow();
        ASSERT_FALSE(b.draws.empty());
        const DRAWITEMSTRUCT& d = b.draws.back();
        EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_BUTTON));
        EXPECT_EQ(d.CtlID, static_cast<UINT>(IDC_TEST_OWNERDRAW));
        EXPECT_EQ(d.hwndItem, b.m_hWnd);
        EXPECT_EQ((d.itemState & ODS_SELECTED) != 0, s.selected);
        EXPECT_GE(b.colourRequests, 1);
    }

    // The parent's answer to a draw request the button took is TRUE.
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = IDC_TEST_OWNERDRAW;
    dis.hwndItem = b.m_hWnd;
    dis.hDC = ::GetDC(b.m_hWnd);
    b.draws.clear();
    EXPECT_EQ(form.SendMessage(WM_DRAWITEM, IDC_TEST_OWNERDRAW, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(b.draws.size(), 1u);
    ::ReleaseDC(b.m_hWnd, dis.hDC);
    form.DestroyWindow();
}

TEST(ToolTip, ToolsTextsAndDelays)
{
    Host host;
    HWND hTip = nullptr;
    {
        CToolTipCtrl tip;
        ASSERT_TRUE(tip.Create(&host));
        hTip = tip.m_hWnd;
        wchar_t cls[32] = {};
        ::GetClassNameW(hTip, cls, 32);
        EXPECT_EQ(_wcsicmp(cls, TOOLTIPS_CLASSW), 0);
        EXPECT_TRUE(tip.GetStyle() & WS_POPUP);
        EXPECT_EQ(::GetWindow(hTip, GW_OWNER), host.m_hWnd);
        EXPECT_EQ(tip.GetToolCount(), 0);

        // A rectangle with an id, and the whole window (id 0).
        const CRect part(5, 5, 60, 30);
        EXPECT_TRUE(tip.AddTool(&host, L"part", &part, 7));
        EXPECT_TRUE(tip.AddTool(&host, L"whole"));
        EXPECT_EQ(tip.GetToolCount(), 2);

        struct Tool {
            UINT_PTR id;
            UINT flags;
            UINT_PTR uId;
            CRect rect;
            const wchar_t* text;
        };
        const Tool tools[] = {
            {7, 0, 7, part, L"part"},
            {0, TTF_IDISHWND, reinterpret_cast<UINT_PTR>(host.m_hWnd), CRect(), L"whole"},
        };
        for (const Tool& t : tools) {
            SCOPED_TRACE(t.id);
            CToolInfo info;
            ASSERT_TRUE(tip.GetToolInfo(info, &host, t.id));
            EXPECT_EQ(info.hwnd, host.m_hWnd);
            EXPECT_EQ(info.uId, t.uId);
            EXPECT_EQ(info.uFlags & TTF_IDISHWND, t.flags);
            if (!t.flags) {
                EXPECT_EQ(CRect(info.rect), t.rect);
            }
            CString text;
            tip.GetText(text, &host, t.id);
            EXPECT_EQ(text, t.text);
        }
        tip.UpdateTipText(L"changed", &host, 7);
        CString text;
        tip.GetText(text, &host, 7);
        EXPECT_EQ(text, L"changed");
        CToolInfo none;
        EXPECT_FALSE(tip.GetToolInfo(none, &host, 99));

        // Automatic: the others follow from the initial delay.
        struct Delay {
            UINT automatic;
            int initial, autopop, reshow;
        };
        for (const Delay& d : {Delay{2000, 2000, 20000, 400}, Delay{500, 500, 5000, 100}}) {
            tip.SetDelayTime(d.automatic);
            EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), d.initial);
            EXPECT_EQ(tip.GetDelayTime(TTDT_AUTOPOP), d.autopop);
            EXPECT_EQ(tip.GetDelayTime(TTDT_RESHOW), d.reshow);
        }
        tip.SetDelayTime(TTDT_INITIAL, 123);
        EXPECT_EQ(tip.GetDelayTime(TTDT_INITIAL), 123);
    }
    EXPECT_FALSE(::IsWindow(hTip));  // the object took its window with it
}

TEST(ToolTip, ARelayedMouseMoveShowsTheTipOfAnActiveControl)
{
    struct Case {
        const char* what;
        BOOL active;
        bool shows;
    };
    const Case cases[] = {{"active", TRUE, true}, {"inactive", FALSE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Host host;
        CToolTipCtrl tip;
        ASSERT_TRUE(tip.Create(&host));
        const CRect part(10, 10, 110, 60);
        ASSERT_TRUE(tip.AddTool(&host, L"hello", &part, 1));
        tip.SetDelayTime(50);
        tip.Activate(c.active);

        CPoint inside(40, 30);
        CPoint onScreen = inside;
        host.ClientToScreen(&onScreen);
        ::SetCursorPos(onScreen.x, onScreen.y);
        Pump(100);
        MSG msg = {};
        msg.hwnd = host.m_hWnd;
        msg.message = WM_MOUSEMOVE;
        msg.lParam = MAKELPARAM(inside.x, inside.y);
        msg.time = ::GetTickCount();
        msg.pt = onScreen;
        tip.RelayEvent(&msg);

        bool shown = false;
        const DWORD start = ::GetTickCount();
        while (!shown && ::GetTickCount() - start < 1500) {
            Pump(20);
            shown = ::IsWindowVisible(tip.m_hWnd) != FALSE;
        }
        EXPECT_EQ(shown, c.shows);
    }
    ::SetCursorPos(5, 5);
}

} // namespace
