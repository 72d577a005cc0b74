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

} // namespace launcher
