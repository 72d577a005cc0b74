// The test program's application object: the library expects exactly one.
#include "afxwin.h"

namespace {
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"classlib tests") {}
};
TestApp g_testApp;
} // namespace
