// Windows bound to objects: creation binding, message-map dispatch and
// fallback to the base map, default processing, destruction and exceptions.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "afxwin.h"

namespace {

const wchar_t kClass[] = L"ClTestWindow";

void RegisterTestClass()
{
    static bool done = false;
    if (done)
        return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);
    done = true;
}

class RecordingWnd : public CWnd {
public:
    std::vector<UINT> seen;
    int creates = 0;
    int moves = 0;
    CPoint lastMove;
    int commands = 0;
    int clicks = 0;
    bool throwOnMove = false;
    bool selfDelete = false;
    bool* deleted = nullptr;

    ~RecordingWnd() override
    {
        if (deleted)
            *deleted = true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }

    int OnCreate(LPCREATESTRUCT cs)
    {
        ++creates;
        // The object is bound before the window gets any message.
        EXPECT_EQ(FromHandlePermanent(m_hWnd), this);
        return CWnd::OnCreate(cs);
    }
    void OnMove(int x, int y)
    {
        if (throwOnMove)
            throw std::runtime_error("handler failed");
        ++moves;
        lastMove = CPoint(x, y);
    }
    void OnCommandOne() { ++commands; }
    void OnButtonClicked() { ++clicks; }
    LRESULT OnCustom(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
    void PostNcDestroy() override
    {
        if (selfDelete)
            delete this;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_MOVE()
    ON_COMMAND(101, OnCommandOne)
    ON_BN_CLICKED(102, OnButtonClicked)
    ON_MESSAGE(WM_APP + 1, OnCustom)
END_MESSAGE_MAP()

// A derived class whose map overrides one entry and inherits the rest.
class DerivedWnd : public RecordingWnd {
public:
    int derivedMoves = 0;
    void OnMove(int, int) { ++derivedMoves; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedWnd, RecordingWnd)
    ON_WM_MOVE()
END_MESSAGE_MAP()

template <class W> bool CreateTestWindow(W& w, DWORD style = WS_OVERLAPPEDWINDOW)
{
    RegisterTestClass();
    return w.CreateEx(0, kClass, L"test", style, 10, 10, 200, 100, nullptr, nullptr) != FALSE;
}

TEST(Window, CreationBindsBeforeTheFirstMessage)
{
    RecordingWnd w;
    ASSERT_TRUE(CreateTestWindow(w));
    ASSERT_FALSE(w.seen.empty());
    // A top-level window's first message precedes WM_NCCREATE; it must not be lost.
    EXPECT_TRUE(w.seen.front() == WM_GETMINMAXINFO || w.seen.front() == WM_NCCREATE) << w.seen.front();
    EXPECT_EQ(w.creates, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);
    w.DestroyWindow();
    EXPECT_EQ(w.m_hWnd, nullptr);
}

TEST(Window, MessagesReachTheirHandlersWithUnpackedArguments)
{
    RecordingWnd w;
    ASSERT_TRUE(CreateTestWindow(w));
    // Negative coordinates survive the unpacking.
    w.SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(-20), 35));
    EXPECT_EQ(w.lastMove, CPoint(-20, 35));
    EXPECT_EQ(w.SendMessage(WM_APP + 1, 40, 2), 42);

    struct Case { WPARAM wParam; LPARAM lParam; int commands; int clicks; };
    const Case cases[] = {
        {MAKEWPARAM(101, 0), 0, 1, 0},                     // menu command
        {MAKEWPARAM(101, 1), 0, 1, 0},                     // accelerator: a command too
        {MAKEWPARAM(102, BN_CLICKED), 0x1234, 0, 1},       // button notification
        {MAKEWPARAM(102, BN_DOUBLECLICKED), 0x1234, 0, 0}, // other code: no entry
        {MAKEWPARAM(103, 0), 0, 0, 0},                     // other id: no entry
    };
    for (const Case& c : cases) {
        w.commands = w.clicks = 0;
        w.SendMessage(WM_COMMAND, c.wParam, c.lParam);
        EXPECT_EQ(w.commands, c.commands) << std::hex << c.wParam;
        EXPECT_EQ(w.clicks, c.clicks) << std::hex << c.wParam;
    }
    w.DestroyWindow();
}

TEST(Window, DerivedMapWinsAndBaseMapStillServes)
{
    DerivedWnd w;
    ASSERT_TRUE(CreateTestWindow(w));
    const int baseMoves = w.moves;
    w.SendMessage(WM_MOVE, 0, MAKELPARAM(1, 2));
    EXPECT_GE(w.derivedMoves, 1);
    EXPECT_EQ(w.moves, baseMoves);
    EXPECT_EQ(w.SendMessage(WM_APP + 1, 1, 1), 2);  // from the base map
    w.DestroyWindow();
}

TEST(Window, UnhandledMessagesGetDefaultProcessing)
{
    RecordingWnd w;
    ASSERT_TRUE(CreateTestWindow(w));
    w.SetWindowText(L"caption");
    // WM_GETTEXT has no entry: DefWindowProc answers it.
    EXPECT_EQ(w.GetWindowText(), L"caption");
    w.DestroyWindow();
}

TEST(Window, ExceptionsStopAtTheWindowProcedure)
{
    RecordingWnd w;
    ASSERT_TRUE(CreateTestWindow(w));
    w.throwOnMove = true;
    EXPECT_NO_THROW(w.SendMessage(WM_MOVE, 0, 0));
    EXPECT_EQ(w.SendMessage(WM_MOVE, 0, 0), 0);
    w.throwOnMove = false;
    EXPECT_EQ(w.SendMessage(WM_APP + 1, 2, 3), 5);  // the window still works
    w.DestroyWindow();
}

TEST(Window, NcDestroyUnbindsThenAllowsSelfDeletion)
{
    bool deleted = false;
    auto* w = new RecordingWnd;
    w->selfDelete = true;
    w->deleted = &deleted;
    ASSERT_TRUE(CreateTestWindow(*w));
    HWND h = w->m_hWnd;
    ::DestroyWindow(h);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(Window, DestroyingTheObjectDestroysItsWindow)
{
    HWND h = nullptr;
    {
        RecordingWnd w;
        ASSERT_TRUE(CreateTestWindow(w));
        h = w.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST(Window, TemporaryWrappersServeForeignWindowsUntilIdle)
{
    RegisterTestClass();
    HWND foreign = ::CreateWindowExW(0, kClass, L"foreign", WS_POPUP, 0, 0, 10, 10, nullptr,
                                     nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    CWnd* temp = CWnd::FromHandle(foreign);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->m_hWnd, foreign);
    EXPECT_EQ(CWnd::FromHandle(foreign), temp);       // one wrapper per handle
    EXPECT_EQ(CWnd::FromHandlePermanent(foreign), nullptr);
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(foreign));                  // the wrapper did not own it
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    ::DestroyWindow(foreign);
}

TEST(Window, ModifyStyleReportsWhetherAnythingChanged)
{
    RecordingWnd w;
    ASSERT_TRUE(CreateTestWindow(w, WS_POPUP | WS_CAPTION));
    EXPECT_TRUE(w.ModifyStyle(WS_CAPTION, WS_MINIMIZEBOX));
    EXPECT_EQ(w.GetStyle() & (WS_CAPTION | WS_MINIMIZEBOX), static_cast<DWORD>(WS_MINIMIZEBOX));
    EXPECT_FALSE(w.ModifyStyle(0, WS_MINIMIZEBOX));
    w.DestroyWindow();
}

TEST(RuntimeClass, DynamicCreationAndKinds)
{
    CObject* obj = RUNTIME_CLASS(CWnd)->CreateObject();
    ASSERT_NE(obj, nullptr);
    EXPECT_TRUE(obj->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(obj->IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_STREQ(obj->GetRuntimeClass()->m_lpszClassName, "CWnd");
    delete obj;
    EXPECT_EQ(RUNTIME_CLASS(CDialog)->CreateObject(), nullptr);  // not creatable by name
}

} // namespace
