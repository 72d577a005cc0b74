// Umbrella header for ActiveX hosting and automation: sites and containers,
// InvokeHelper, the automation exceptions and event sink maps.
#pragma once

#include "afxwin.h"
#include "cl/ole.h"
#include "cl/dhtml.h"
