// Dialogs: the modal loop and how it ends, the message filter walk up the
// parent/owner chain, the dialog keys, data exchange, DLGINIT and reflection.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "afxwin.h"
#include "test_resources.h"

namespace {

std::vector<std::string> g_trace;

class TestDialog : public CDialog {
public:
    explicit TestDialog(UINT id = IDD_TEST_FORM, CWnd* parent = nullptr) : CDialog(id, parent) {}

    std::function<void(TestDialog&)> onInit;
    std::string name = "dialog";
    bool swallowKeys = false;
    int oks = 0;
    int cancels = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    void OnOK() override
    {
        ++oks;
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == 'Q') {
            g_trace.push_back(name);
            return swallowKeys;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
};

// Posts a key press to hWnd as if typed there.
void PostKey(HWND hWnd, UINT vk)
{
    ::PostMessageW(hWnd, WM_KEYDOWN, vk, 1);
    ::PostMessageW(hWnd, WM_KEYUP, vk, 0xC0000001);
}

TEST(ModalDialog, EndsWithTheValueGivenToEndDialog)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { d.EndDialog(42); };
    EXPECT_EQ(dlg.DoModal(), 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);  // destroyed when the run ends
}

TEST(ModalDialog, CloseBecomesCancel)
{
    TestDialog dlg;
    dlg.onInit = [](TestDialog& d) { d.PostMessage(WM_CLOSE); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.cancels, 1);
    EXPECT_EQ(dlg.oks, 0);
}

TEST(ModalDialog, DialogKeysReachOnOkAndOnCancel)
{
    struct Case { UINT vk; INT_PTR result; int oks; int cancels; };
    for (const Case c : {Case{VK_RETURN, IDOK, 1, 0}, Case{VK_ESCAPE, IDCANCEL, 0, 1}}) {
        TestDialog dlg;
        dlg.onInit = [&](TestDialog& d) { PostKey(::GetDlgItem(d.m_hWnd, IDC_TEST_EDIT), c.vk); };
        EXPECT_EQ(dlg.DoModal(), c.result) << c.vk;
        EXPECT_EQ(dlg.oks, c.oks) << c.vk;
        EXPECT_EQ(dlg.cancels, c.cancels) << c.vk;
    }
}

void CALLBACK DestroyOnTimer(HWND hWnd, UINT, UINT_PTR, DWORD)
{
    ::DestroyWindow(hWnd);
}

TEST(ModalDialog, LoopEndsWhenTheWindowIsDestroyed)
{
    TestDialog dlg;
    // The window goes away from outside the dialog's own handling.
    dlg.onInit = [](TestDialog& d) { ::SetTimer(d.m_hWnd, 1, 10, DestroyOnTimer); };
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(ModalDialog, MissingTemplateFailsWithoutARun)
{
    TestDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
}

TEST(ModalDialog, FiltersRunFromTheTargetUpTheOwnerChain)
{
    struct Case { bool childSwallows; std::vector<std::string> trace; };
    const Case cases[] = {
        {false, {"child", "owner"}},  // child passes: the owner's filter is asked next
        {true, {"child"}},            // child handles it: the owner never sees it
    };
    for (const Case& c : cases) {
        g_trace.clear();
        TestDialog owner;
        owner.name = "owner";
        TestDialog child(IDD_TEST_CHILD);
        child.name = "child";
        child.swallowKeys = c.childSwallows;
        owner.onInit = [&](TestDialog& d) {
            ASSERT_TRUE(child.Create(IDD_TEST_CHILD, &d));
            EXPECT_EQ(::GetParent(child.m_hWnd), d.m_hWnd);  // owned popup
            PostKey(::GetDlgItem(child.m_hWnd, IDC_TEST_EDIT), 'Q');
            d.PostMessage(WM_CLOSE);
        };
        owner.DoModal();
        EXPECT_EQ(g_trace, c.trace) << c.childSwallows;
    }
}

TEST(ModelessDialog, CreateRunsInitAndDataExchange)
{
    struct Form : TestDialog {
        CWnd m_edit;
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_EDIT, m_edit); }
    } form;
    ASSERT_TRUE(form.Create(IDD_TEST_FORM));
    EXPECT_EQ(form.m_edit.m_hWnd, ::GetDlgItem(form.m_hWnd, IDC_TEST_EDIT));
    EXPECT_EQ(CWnd::FromHandlePermanent(form.m_edit.m_hWnd), &form.m_edit);
    // List strings from the DLGINIT resource.
    HWND list = ::GetDlgItem(form.m_hWnd, IDC_TEST_LIST);
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    wchar_t text[16] = {};
    ::SendMessageW(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"omega");
    form.DestroyWindow();
    EXPECT_EQ(form.m_edit.m_hWnd, nullptr);  // the child's binding ends with its window
}

// A control that answers reflected colour and draw requests.
class ReflectingButton : public CWnd {
public:
    int colourRequests = 0;
    int draws = 0;
    HBRUSH brush = nullptr;
    HBRUSH CtlColor(CDC*, UINT nCtlColor)
    {
        ++colourRequests;
        EXPECT_EQ(nCtlColor, static_cast<UINT>(CTLCOLOR_BTN));
        return brush;
    }
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (message == WM_DRAWITEM) {
            ++draws;
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectingButton, CWnd)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class ReflectForm : public TestDialog {
public:
    ReflectingButton m_button;
    HBRUSH ownBrush = ::CreateSolidBrush(RGB(0, 255, 0));
    bool handleButtonColour = false;
    ~ReflectForm() override { ::DeleteObject(ownBrush); }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_TEST_OWNERDRAW, m_button); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        if (nCtlColor == CTLCOLOR_DLG || handleButtonColour)
            return ownBrush;
        return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ReflectForm, TestDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(Reflection, ColourAndDrawRequestsReachTheControl)
{
    ReflectForm form;
    ASSERT_TRUE(form.Create(IDD_TEST_FORM));
    HWND button = form.m_button.m_hWnd;
    ASSERT_NE(button, nullptr);
    HDC dc = ::GetDC(button);
    HBRUSH childBrush = ::CreateSolidBrush(RGB(1, 2, 3));

    // The control's brush wins; a null brush from the control means "not
    // handled" and the dialog's default answer is used.
    form.m_button.brush = childBrush;
    EXPECT_EQ(form.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)),
              reinterpret_cast<LRESULT>(childBrush));
    form.m_button.brush = nullptr;
    EXPECT_NE(form.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)),
              reinterpret_cast<LRESULT>(childBrush));
    EXPECT_EQ(form.m_button.colourRequests, 2);

    // The dialog's own background request is never reflected.
    EXPECT_EQ(form.SendMessage(WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(form.m_hWnd)),
              reinterpret_cast<LRESULT>(form.ownBrush));
    EXPECT_EQ(form.m_button.colourRequests, 2);

    // A parent that answers itself keeps the request from the control.
    form.handleButtonColour = true;
    form.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(form.m_button.colourRequests, 2);

    // The owner-drawn button's paint reaches it as a reflected draw request.
    form.ShowWindow(SW_SHOWNOACTIVATE);
    ::InvalidateRect(button, nullptr, TRUE);
    ::UpdateWindow(button);
    EXPECT_GE(form.m_button.draws, 1);

    ::ReleaseDC(button, dc);
    ::DeleteObject(childBrush);
    form.DestroyWindow();
}

} // namespace
