// GDI+ runs for the whole test program, as it does for the launcher's whole
// run: every holder and button of a test is gone before it shuts down.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }

private:
    ULONG_PTR m_token = 0;
};

[[maybe_unused]] ::testing::Environment* const g_gdiplus =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
