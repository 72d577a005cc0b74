// The launcher's front panel: a colour-keyed popup owned by the background
// layer that carries the portal view and the two picture buttons.
#pragma once

#include "afxwin.h"

class FrontendDialog : public CDialog {
public:
    explicit FrontendDialog(CWnd* pParent);
};
