#include "key_filters.h"

namespace launcher {

FilterVerdict BackgroundFilter(UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_F12))
        return FilterVerdict::Dispatch;
    if (message == WM_RBUTTONDOWN)
        return FilterVerdict::Dispatch;
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
        return FilterVerdict::Discard;
    return FilterVerdict::AskBase;
}

FilterVerdict FrontendFilter(UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN && wParam == VK_F12)
        return FilterVerdict::Discard;
    if (message == WM_RBUTTONDOWN)
        return FilterVerdict::Dispatch;
    if (message == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN))
        return FilterVerdict::Discard;
    return FilterVerdict::AskBase;
}

FilterVerdict GameFilter(UINT message, WPARAM wParam)
{
    if (message == WM_KEYDOWN && wParam == VK_RETURN)
        return FilterVerdict::Dispatch;
    if (message == WM_RBUTTONDOWN)
        return FilterVerdict::Dispatch;
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE)
        return FilterVerdict::Discard;
    return FilterVerdict::AskBase;
}

} // namespace launcher
