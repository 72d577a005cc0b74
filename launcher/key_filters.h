// The launcher's keyboard filters as plain rules: which queued messages a
// window's PreTranslateMessage lets pass, drops, or hands to the dialog
// manager.
#pragma once

#include <windows.h>

namespace launcher {

enum class FilterVerdict {
    Dispatch,  // not handled here and kept from the dialog manager: dispatched as usual
    Discard,   // handled: the message is dropped
    AskBase,   // the base class decides (dialog key handling)
};

// Background layer: Enter, F12 and the right button pass untouched, Escape is
// dropped, everything else goes to the dialog manager.
FilterVerdict BackgroundFilter(UINT message, WPARAM wParam);

// Front panel: F12, Escape and Enter are dropped (the portal page never sees
// them), the right button passes untouched, the rest goes to the dialog
// manager.
FilterVerdict FrontendFilter(UINT message, WPARAM wParam);

// Game window: Enter and the right button pass untouched to the page, Escape
// is dropped, the rest goes to the dialog manager.
FilterVerdict GameFilter(UINT message, WPARAM wParam);

// Runs a verdict in a PreTranslateMessage: TRUE when the message is handled.
template <class Base> BOOL ApplyFilter(FilterVerdict verdict, Base&& askBase)
{
    switch (verdict) {
    case FilterVerdict::Dispatch:
        return FALSE;
    case FilterVerdict::Discard:
        return TRUE;
    case FilterVerdict::AskBase:
        break;
    }
    return askBase();
}

} // namespace launcher
