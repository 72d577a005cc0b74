#include "afxwin.h"

namespace {
class TestApp : public CWinApp {
};
TestApp g_testApp;
} // namespace
