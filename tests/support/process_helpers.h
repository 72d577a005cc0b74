// Helpers for tests that run the real launcher: starting it, finding its
// windows, reading the screen and driving the X server's mouse.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "wine_paths.h"

namespace testing_support {

// Polls until pred() holds or timeoutMs passes.
bool WaitFor(const std::function<bool()>& pred, DWORD timeoutMs, DWORD stepMs = 50);

// A started program; the destructor ends it if it still runs.
class Process {
public:
    explicit Process(const std::wstring& exe);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return m_pi.hProcess != nullptr; }
    DWORD id() const { return m_pi.dwProcessId; }
    bool Running() const;
    // Waits for the end; false on time-out.
    bool WaitExit(DWORD timeoutMs, DWORD* exitCode);
    // The visible top-level window of this process with that title, or null.
    HWND FindTopWindow(const wchar_t* title) const;

private:
    PROCESS_INFORMATION m_pi{};
};

// Starts a Unix command (xdotool ...). Wine does not signal the end of a Unix
// process to its Windows parent, so callers wait for the command's effect.
bool StartUnix(const std::wstring& commandLine);

// Reads a pixel of the screen as the X server shows it.
COLORREF ScreenPixel(int x, int y);

// A borderless top-level window of one colour under everything the test
// starts later, so that transparent launcher pixels show a known colour.
class Backdrop {
public:
    Backdrop(COLORREF colour, const RECT& area);
    ~Backdrop();
    HWND hwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
    HBRUSH m_brush = nullptr;
};

} // namespace testing_support
