// The application object's picture loader and command routing.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "app/launcher_app.h"
#include "res/resource.h"
#include "wine_paths.h"

namespace {

class GdiplusSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override { Gdiplus::GdiplusShutdown(m_token); }
    ULONG_PTR m_token = 0;
};

std::wstring g_badPictureModule;  // a launcher build whose picture is garbage

TEST_F(GdiplusSession, LoadsThePictureFromTheModule)
{
    // This test program carries the launcher's resources.
    Gdiplus::Image* image = LoadBackgroundImage(::GetModuleHandleW(nullptr));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetWidth(), 1298u);
    EXPECT_EQ(image->GetHeight(), 727u);
    delete image;
}

TEST_F(GdiplusSession, ModuleWithoutThePictureGivesNull)
{
    EXPECT_EQ(LoadBackgroundImage(::GetModuleHandleW(L"kernel32.dll")), nullptr);
}

TEST_F(GdiplusSession, GarbagePictureGivesAnImageWithAnErrorStatus)
{
    HMODULE module = ::LoadLibraryExW(g_badPictureModule.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    Gdiplus::Image* image = LoadBackgroundImage(module);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(image->GetLastStatus(), Gdiplus::Ok);
    EXPECT_EQ(image->GetWidth(), 0u);
    EXPECT_EQ(image->GetHeight(), 0u);
    delete image;
    ::FreeLibrary(module);
}

TEST(Application, HelpCommandIsHandledByTheApplicationObject)
{
    EXPECT_EQ(AfxGetApp(), &theApp);
    EXPECT_TRUE(theApp.OnCmdMsg(ID_HELP, 0));
    EXPECT_FALSE(theApp.OnCmdMsg(ID_HELP + 1, 0));
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: %s launcher_bad_picture.exe\n", argv[0]);
        return 2;
    }
    g_badPictureModule = testing_support::ToWindowsPath(argv[1]);
    return RUN_ALL_TESTS();
}
