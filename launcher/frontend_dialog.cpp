#include "frontend_dialog.h"

#include "res/resource.h"

FrontendDialog::FrontendDialog(CWnd* pParent) : CDialog(IDD_FRONTEND_DIALOG, pParent)
{
}
