// Umbrella header of the class library: application, windows, dialogs, GDI.
#pragma once

#ifndef STRICT
#define STRICT
#endif
#include <windows.h>
#include <commctrl.h>

#include "cl/types.h"
#include "cl/object.h"
#include "cl/msgmap.h"
#include "cl/cmdtarget.h"
#include "cl/wnd.h"
#include "cl/gdi.h"
#include "cl/dialog.h"
#include "cl/ctrl.h"
#include "cl/app.h"
#include "cl/msgthunks.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif
