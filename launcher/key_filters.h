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

} // namespace launcher
