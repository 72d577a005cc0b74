// The resource set as compiled into launcher.exe (the 64-bit test build and
// the 32-bit release): ids, types, languages, sizes, template contents,
// DLGINIT bytes, picture formats, icon, manifest and version block.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "wine_paths.h"

namespace {

std::vector<std::wstring> g_modules;  // executables to inspect, from the command line

constexpr WORD kEnUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr WORD kZhCn = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

struct Blob {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

BOOL CALLBACK CollectLang(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param)
{
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(lang);
    return TRUE;
}

class Resources : public ::testing::TestWithParam<std::wstring> {
protected:
    void SetUp() override
    {
        m_module = ::LoadLibraryExW(GetParam().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr);
    }
    void TearDown() override
    {
        if (m_module)
            ::FreeLibrary(m_module);
    }
    // The resource, required to exist in exactly the one language given.
    Blob Get(LPCWSTR type, WORD id, WORD lang)
    {
        std::vector<WORD> langs;
        ::EnumResourceLanguagesW(m_module, type, MAKEINTRESOURCEW(id), CollectLang,
                                 reinterpret_cast<LONG_PTR>(&langs));
        EXPECT_EQ(langs, std::vector<WORD>{lang}) << "resource " << id;
        HRSRC res = ::FindResourceW(m_module, MAKEINTRESOURCEW(id), type);  // no language preference
        if (!res)
            return {};
        return {static_cast<const BYTE*>(::LockResource(::LoadResource(m_module, res))), ::SizeofResource(m_module, res)};
    }
    HMODULE m_module = nullptr;
};

// Reads a dialog template field by field.
struct Reader {
    const BYTE* p;
    WORD Word() { WORD v; memcpy(&v, p, 2); p += 2; return v; }
    DWORD Dword() { DWORD v; memcpy(&v, p, 4); p += 4; return v; }
    short Short() { return static_cast<short>(Word()); }
    // sz_Or_Ord: an ordinal as "#n", or a string.
    std::wstring SzOrOrd()
    {
        WORD first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring s;
        for (WORD c = first; c; c = Word())
            s += static_cast<wchar_t>(c);
        return s;
    }
    void AlignDword(const BYTE* base) { while ((p - base) % 4) ++p; }
};

struct Item { DWORD exStyle, style; short x, y, cx, cy; DWORD id; std::wstring cls; };
struct Template {
    DWORD exStyle, style;
    short x, y, cx, cy;
    std::wstring menu, cls, title, face;
    WORD points, weight;
    BYTE italic, charset;
    std::vector<Item> items;
};

Template ParseTemplate(const BYTE* base)
{
    Reader r{base};
    Template t{};
    EXPECT_EQ(r.Word(), 1);       // dlgVer
    EXPECT_EQ(r.Word(), 0xFFFF);  // signature
    EXPECT_EQ(r.Dword(), 0u);     // helpID
    t.exStyle = r.Dword();
    t.style = r.Dword();
    const WORD count = r.Word();
    t.x = r.Short(); t.y = r.Short(); t.cx = r.Short(); t.cy = r.Short();
    t.menu = r.SzOrOrd();
    t.cls = r.SzOrOrd();
    t.title = r.SzOrOrd();
    t.points = r.Word();
    t.weight = r.Word();
    t.italic = *r.p++;
    t.charset = *r.p++;
    t.face = r.SzOrOrd();
    for (WORD i = 0; i < count; ++i) {
        r.AlignDword(base);
        Item it{};
        EXPECT_EQ(r.Dword(), 0u);  // helpID
        it.exStyle = r.Dword();
        it.style = r.Dword();
        it.x = r.Short(); it.y = r.Short(); it.cx = r.Short(); it.cy = r.Short();
        it.id = r.Dword();
        it.cls = r.SzOrOrd();
        EXPECT_EQ(r.SzOrOrd(), L"");  // title
        EXPECT_EQ(r.Word(), 0);       // no creation data
        t.items.push_back(it);
    }
    return t;
}

const wchar_t kBrowser[] = L"{8856F961-340A-11D0-A96B-00C04FD705A2}";

TEST_P(Resources, DialogTemplates)
{
    struct Expect {
        WORD id; WORD lang; DWORD exStyle, style; short cx, cy; const wchar_t* title; WORD weight;
        std::vector<Item> items;
    };
    const Expect dialogs[] = {
        {102, kEnUs, 0, 0x900000C8, 320, 201, L"", 0, {}},
        {136, kEnUs, 0, 0x80000048, 980, 576, L"", 400,
         {{0, 0x5001000B, 729, 92, 41, 35, 1001, L"#128"},
          {0, 0x50010000, 323, 129, 483, 334, 1004, kBrowser},
          {0x20, 0x5001000B, 685, 93, 42, 35, 1000, L"#128"}}},
        {143, kEnUs, 0x00040300, 0x80CF0048, 678, 463, L"Dialog", 400,
         {{0, 0x40010000, 223, 58, 430, 305, 1005, kBrowser}}},
        {153, kZhCn, 0, 0x80C800C8, 440, 400, L"Dialog", 400,
         {{0, 0x50010000, 7, 7, 305, 184, 1008, kBrowser}}},
    };
    for (const Expect& e : dialogs) {
        SCOPED_TRACE(e.id);
        Blob b = Get(RT_DIALOG, e.id, e.lang);
        ASSERT_NE(b.data, nullptr);
        const Template t = ParseTemplate(b.data);
        EXPECT_EQ(t.exStyle, e.exStyle);
        EXPECT_EQ(t.style, e.style);
        EXPECT_EQ(t.x, 0); EXPECT_EQ(t.y, 0);
        EXPECT_EQ(t.cx, e.cx); EXPECT_EQ(t.cy, e.cy);
        EXPECT_EQ(t.menu, L""); EXPECT_EQ(t.cls, L"");
        EXPECT_EQ(t.title, e.title);
        EXPECT_EQ(t.points, 8); EXPECT_EQ(t.weight, e.weight);
        EXPECT_EQ(t.italic, 0); EXPECT_EQ(t.charset, 1);
        EXPECT_EQ(t.face, L"MS Shell Dlg");
        ASSERT_EQ(t.items.size(), e.items.size());
        for (size_t i = 0; i < e.items.size(); ++i) {
            const Item& a = t.items[i];
            const Item& x = e.items[i];
            EXPECT_EQ(a.id, x.id) << i;
            EXPECT_EQ(a.exStyle, x.exStyle) << i;
            EXPECT_EQ(a.style, x.style) << i;
            EXPECT_EQ(a.x, x.x); EXPECT_EQ(a.y, x.y); EXPECT_EQ(a.cx, x.cx); EXPECT_EQ(a.cy, x.cy);
            EXPECT_EQ(a.cls, x.cls) << i;
        }
    }
}

// The 170 bytes of a DLGINIT record for a browser control, built from the
// field table: id, message 0x0376, length 160, the persisted state, 0.
std::vector<BYTE> ExpectedDlgInit(WORD control, DWORD extentX, DWORD extentY, DWORD viewFlag)
{
    std::vector<BYTE> v;
    auto put = [&v](const void* p, size_t n) { v.insert(v.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n); };
    auto dw = [&](DWORD x) { put(&x, 4); };
    auto w = [&](WORD x) { put(&x, 2); };
    const GUID largeIcons = {0x0057D0E0, 0x3573, 0x11CF, {0xAE, 0x69, 0x08, 0x00, 0x2B, 0x2E, 0x12, 0x62}};
    const GUID shellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    w(control); w(0x0376); dw(160);
    dw(0); dw(76); dw(extentX); dw(extentY);
    for (int i = 0; i < 6; ++i) dw(0);
    dw(76); dw(0); dw(0); dw(1);
    put(&largeIcons, 16);
    dw(viewFlag); dw(0);
    dw(76); put(&shellLink, 16); dw(0x80); dw(0);      // header size, CLSID, flags, attributes
    for (int i = 0; i < 6; ++i) dw(0);                 // three FILETIMEs
    dw(0); dw(0); dw(1); w(0); w(0); dw(0); dw(0);     // size, icon, show, hotkey, reserved
    dw(0);                                             // extra data terminal block
    w(0);                                              // end of records
    return v;
}

TEST_P(Resources, DlgInitRecordsAreByteExact)
{
    struct Case { WORD dialog, lang, control; DWORD ex, ey, flag; };
    for (const Case& c : {Case{136, kEnUs, 1004, 19182, 14367, 8}, Case{143, kEnUs, 1005, 17066, 13123, 2},
                          Case{153, kZhCn, 1008, 12118, 7911, 8}}) {
        SCOPED_TRACE(c.dialog);
        Blob b = Get(MAKEINTRESOURCEW(240), c.dialog, c.lang);
        ASSERT_EQ(b.size, 170u);
        const std::vector<BYTE> expected = ExpectedDlgInit(c.control, c.ex, c.ey, c.flag);
        ASSERT_EQ(expected.size(), 170u);
        EXPECT_EQ(std::vector<BYTE>(b.data, b.data + b.size), expected);
    }
}

TEST_P(Resources, DialogLayoutsAreEmpty)
{
    for (WORD id : {102, 136, 143, 153}) {
        Blob b = Get(L"AFX_DIALOG_LAYOUT", id, id == 153 ? kZhCn : kEnUs);
        ASSERT_EQ(b.size, 2u) << id;
        EXPECT_EQ(b.data[0] | b.data[1], 0) << id;
    }
}

DWORD BigEndian(const BYTE* p) { return (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | p[3]; }

TEST_P(Resources, BackgroundIsAPalettePngWithAlpha)
{
    Blob b = Get(L"PNG", 175, kZhCn);
    ASSERT_GT(b.size, 8u);
    ASSERT_EQ(memcmp(b.data, "\x89PNG\r\n\x1a\n", 8), 0);
    DWORD plte = 0, trns = 0, phys = 0;
    for (DWORD off = 8; off + 12 <= b.size;) {
        const DWORD len = BigEndian(b.data + off);
        const std::string type(reinterpret_cast<const char*>(b.data + off + 4), 4);
        const BYTE* d = b.data + off + 8;
        if (type == "IHDR") {
            EXPECT_EQ(BigEndian(d), 1298u);
            EXPECT_EQ(BigEndian(d + 4), 727u);
            EXPECT_EQ(d[8], 8);   // bit depth
            EXPECT_EQ(d[9], 3);   // palette
            EXPECT_EQ(d[12], 0);  // not interlaced
        } else if (type == "PLTE") {
            plte = len;
        } else if (type == "tRNS") {
            trns = len;
            int clear = 0, partial = 0;
            for (DWORD i = 0; i < len; ++i) {
                clear += d[i] == 0;
                partial += d[i] > 0 && d[i] < 255;
            }
            EXPECT_EQ(clear, 1);
            EXPECT_EQ(partial, 67);
        } else if (type == "pHYs") {
            phys = len;
            EXPECT_EQ(BigEndian(d), 3780u);
            EXPECT_EQ(BigEndian(d + 4), 3780u);
            EXPECT_EQ(d[8], 1);
        }
        off += 12 + len;
    }
    EXPECT_EQ(plte, 768u);
    EXPECT_EQ(trns, 68u);
    EXPECT_EQ(phys, 9u);
}

TEST_P(Resources, ButtonPicturesAreTransparentGifsAndSparesAreBitmaps)
{
    for (WORD id : {201, 205}) {
        SCOPED_TRACE(id);
        Blob b = Get(L"GIF", id, kZhCn);
        ASSERT_GT(b.size, 13u + 768u + 8u);
        EXPECT_EQ(memcmp(b.data, "GIF89a", 6), 0);
        EXPECT_EQ(b.data[6] | (b.data[7] << 8), 52);
        EXPECT_EQ(b.data[8] | (b.data[9] << 8), 55);
        EXPECT_EQ(b.data[10] & 0x87, 0x87);  // global table of 256 entries
        const BYTE* white = b.data + 13 + 255 * 3;
        EXPECT_TRUE(white[0] == 255 && white[1] == 255 && white[2] == 255);
        const BYTE* gce = b.data + 13 + 768;
        EXPECT_EQ(gce[0], 0x21); EXPECT_EQ(gce[1], 0xF9); EXPECT_EQ(gce[2], 4);
        EXPECT_EQ(gce[3], 0x01);  // transparency flag, disposal 0
        EXPECT_EQ(gce[4] | gce[5], 0);  // delay 0
        EXPECT_EQ(gce[6], 255);
        const BYTE* image = gce + 8;
        EXPECT_EQ(image[0], 0x2C);
        EXPECT_EQ(image[9] & 0xC0, 0);  // no local table, not interlaced
    }
    for (WORD id : {204, 208}) {
        Blob b = Get(L"GIF", id, kZhCn);
        ASSERT_EQ(b.size, 3938u) << id;
        EXPECT_EQ(memcmp(b.data, "BM", 2), 0);
        DWORD fileSize, offset;
        memcpy(&fileSize, b.data + 2, 4);
        memcpy(&offset, b.data + 10, 4);
        EXPECT_EQ(fileSize, 3938u);
        EXPECT_EQ(offset, 1078u);
        BITMAPINFOHEADER h;
        memcpy(&h, b.data + 14, sizeof h);
        EXPECT_EQ(h.biWidth, 52); EXPECT_EQ(h.biHeight, 55); EXPECT_EQ(h.biBitCount, 8);
        EXPECT_EQ(h.biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(h.biXPelsPerMeter, 3780); EXPECT_EQ(h.biYPelsPerMeter, 3780);
    }
    Blob a = Get(L"GIF", 204, kZhCn), c = Get(L"GIF", 208, kZhCn);
    ASSERT_TRUE(a.data && c.data);
    EXPECT_NE(memcmp(a.data + 1078, c.data + 1078, 3938 - 1078), 0);
}

#pragma pack(push, 2)
struct GroupEntry { BYTE w, h, colours, reserved; WORD planes, bits; DWORD bytes; WORD id; };
#pragma pack(pop)

TEST_P(Resources, IconGroupHasFiveDibImages)
{
    Blob g = Get(RT_GROUP_ICON, 209, kZhCn);
    ASSERT_EQ(g.size, 6u + 5 * sizeof(GroupEntry));
    WORD count;
    memcpy(&count, g.data + 4, 2);
    ASSERT_EQ(count, 5);
    const struct { BYTE size; DWORD bytes; } expected[] = {{128, 67624}, {64, 16936}, {48, 9640}, {32, 4264}, {16, 1128}};
    for (WORD i = 0; i < 5; ++i) {
        GroupEntry e;
        memcpy(&e, g.data + 6 + i * sizeof e, sizeof e);
        EXPECT_EQ(e.w, expected[i].size); EXPECT_EQ(e.h, expected[i].size);
        EXPECT_EQ(e.colours, 0); EXPECT_EQ(e.planes, 1); EXPECT_EQ(e.bits, 32);
        EXPECT_EQ(e.bytes, expected[i].bytes);
        EXPECT_EQ(e.id, i + 1);
        Blob img = Get(RT_ICON, e.id, kZhCn);
        ASSERT_EQ(img.size, expected[i].bytes);
        BITMAPINFOHEADER h;
        memcpy(&h, img.data, sizeof h);
        EXPECT_EQ(h.biSize, 40u);  // a DIB, not a PNG
        EXPECT_EQ(h.biBitCount, 32);
    }
}

TEST_P(Resources, ManifestAndVersion)
{
    Blob m = Get(RT_MANIFEST, 1, kEnUs);
    ASSERT_NE(m.data, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(m.data), m.size);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
    EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos);
    EXPECT_EQ(manifest.find("supportedOS"), std::string::npos);

    Get(RT_VERSION, 1, kEnUs);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(GetParam().c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(GetParam().c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u); EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u); EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu); EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 0x00040004u); EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    const struct { const wchar_t* key; const wchar_t* value; } strings[] = {
        {L"FileDescription", L"Velmora"}, {L"FileVersion", L"1.0.0.1"}, {L"InternalName", L"launcher.exe"},
        {L"OriginalFilename", L"launcher.exe"}, {L"ProductName", L"Velmora"}, {L"ProductVersion", L"1.0.0.1"}};
    for (const auto& s : strings) {
        wchar_t* value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + s.key;
        ASSERT_TRUE(::VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &len));
        EXPECT_STREQ(value, s.value);
    }
    DWORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &len));
    EXPECT_EQ(*translation, 0x04B00409u);
}

INSTANTIATE_TEST_SUITE_P(Builds, Resources, ::testing::ValuesIn(g_modules));

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        std::string p = argv[i];
        if (p.rfind("--", 0) == 0)
            continue;
        const std::wstring w = testing_support::ToWindowsPath(p);
        if (::GetFileAttributesW(w.c_str()) != INVALID_FILE_ATTRIBUTES)
            g_modules.push_back(w);
        else
            fprintf(stderr, "missing: %s\n", argv[i]);
    }
    ::testing::InitGoogleTest(&argc, argv);
    if (g_modules.size() + 1 < static_cast<size_t>(argc)) {
        fprintf(stderr, "every executable named must exist\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
