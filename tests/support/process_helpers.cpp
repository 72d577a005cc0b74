#include "process_helpers.h"

#include <vector>

namespace testing_support {

bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs, DWORD stepMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        // Keep our own windows (the backdrop) answering while we wait.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (pred())
            return true;
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(stepMs);
    }
}

Process::Process(const std::wstring& exe)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    std::vector<wchar_t> buf(cmd.begin(), cmd.end());
    buf.push_back(L'\0');
    if (!::CreateProcessW(exe.c_str(), buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
        m_pi = PROCESS_INFORMATION{};
}

Process::~Process()
{
    if (m_pi.hProcess) {
        if (Running()) {
            ::TerminateProcess(m_pi.hProcess, 99);
            ::WaitForSingleObject(m_pi.hProcess, 5000);
        }
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
}

bool Process::Running() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(DWORD timeoutMs, DWORD* exitCode)
{
    const bool ended = WaitFor([this] { return !Running(); }, timeoutMs);
    if (ended && exitCode)
        ::GetExitCodeProcess(m_pi.hProcess, exitCode);
    return ended;
}

namespace {
struct FindCtx {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};
BOOL CALLBACK FindProc(HWND hWnd, LPARAM lParam)
{
    auto* ctx = reinterpret_cast<FindCtx*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hWnd, &pid);
    wchar_t text[128] = {};
    ::GetWindowTextW(hWnd, text, 128);
    if (pid == ctx->pid && ::IsWindowVisible(hWnd) && wcscmp(text, ctx->title) == 0) {
        ctx->found = hWnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND Process::FindTopWindow(const wchar_t* title) const
{
    FindCtx ctx{m_pi.dwProcessId, title, nullptr};
    ::EnumWindows(FindProc, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

bool StartUnix(const std::wstring& commandLine)
{
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> buf(commandLine.begin(), commandLine.end());
    buf.push_back(L'\0');
    if (!::CreateProcessW(nullptr, buf.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    // Wine gives no real handles back for a Unix program (a null process
    // handle, a stale thread handle): closing them would close whatever
    // handle of ours has that value, standard output for one.
    if (pi.hProcess) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    return true;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

namespace {
LRESULT CALLBACK BackdropProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND) {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        auto brush = reinterpret_cast<HBRUSH>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        ::FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
        return 1;
    }
    return ::DefWindowProcW(hWnd, msg, wParam, lParam);
}
} // namespace

Backdrop::Backdrop(COLORREF colour, const RECT& area) : m_brush(::CreateSolidBrush(colour))
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = BackdropProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OrvantaTestBackdrop";
        ::RegisterClassW(&wc);
        registered = true;
    }
    m_hWnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"OrvantaTestBackdrop", L"backdrop", WS_POPUP,
                               area.left, area.top, area.right - area.left, area.bottom - area.top,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_brush));
    ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(m_hWnd);
    WaitFor([] { return false; }, 300);
}

Backdrop::~Backdrop()
{
    ::DestroyWindow(m_hWnd);
    ::DeleteObject(m_brush);
}

} // namespace testing_support
