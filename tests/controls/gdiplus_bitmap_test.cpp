// Pictures loaded from resources: what a load allocates, locks, decodes and
// releases, watched through this program's import table (the calls our own
// code makes to the global-memory functions and to GDI+'s bitmap creation
// and disposal), for successful loads, every kind of failure, reloads and
// destruction.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include <objidl.h>
#include <gdiplus.h>

#include "controls/gdiplus_bitmap.h"
#include "controls_test_resources.h"
#include "import_hook.h"
#include "res/resource.h"

namespace {

using testing_support::ImportHook;

// The calls seen, with blocks and bitmaps named b1, b2, ... and i1, i2, ...
// in the order they were made ("-" for a null handle).
class CallTrace {
public:
    void Record(const char* call, const void* handle, bool fresh)
    {
        std::string name = "-";
        if (handle) {
            const char prefix = (call[0] == 'c' || call[0] == 'd') ? 'i' : 'b';
            auto& names = prefix == 'i' ? m_images : m_blocks;
            if (fresh || !names.count(handle))
                names[handle] = prefix + std::to_string(++m_next[prefix == 'i']);
            name = names[handle];
        }
        if (!m_text.empty())
            m_text += ", ";
        m_text += std::string(call) + " " + name;
    }
    std::string Take()
    {
        std::string t = m_text;
        m_text.clear();
        return t;
    }
    void Reset()
    {
        m_text.clear();
        m_blocks.clear();
        m_images.clear();
        m_next[0] = m_next[1] = 0;
    }

private:
    std::string m_text;
    std::map<const void*, std::string> m_blocks;
    std::map<const void*, std::string> m_images;
    int m_next[2] = {0, 0};
};

CallTrace g_trace;
struct Hooks;
Hooks* g_hooks = nullptr;

HGLOBAL WINAPI TracedGlobalAlloc(UINT flags, SIZE_T bytes);
LPVOID WINAPI TracedGlobalLock(HGLOBAL h);
BOOL WINAPI TracedGlobalUnlock(HGLOBAL h);
HGLOBAL WINAPI TracedGlobalFree(HGLOBAL h);
Gdiplus::GpStatus WINGDIPAPI TracedCreateBitmapFromStream(IStream* stream, Gdiplus::GpBitmap** bitmap);
Gdiplus::GpStatus WINGDIPAPI TracedDisposeImage(Gdiplus::GpImage* image);

struct Hooks {
    ImportHook alloc{"kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&TracedGlobalAlloc)};
    ImportHook lock{"kernel32.dll", "GlobalLock", reinterpret_cast<void*>(&TracedGlobalLock)};
    ImportHook unlock{"kernel32.dll", "GlobalUnlock", reinterpret_cast<void*>(&TracedGlobalUnlock)};
    ImportHook free{"kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&TracedGlobalFree)};
    ImportHook create{"gdiplus.dll", "GdipCreateBitmapFromStream",
                      reinterpret_cast<void*>(&TracedCreateBitmapFromStream)};
    ImportHook dispose{"gdiplus.dll", "GdipDisposeImage", reinterpret_cast<void*>(&TracedDisposeImage)};
};

HGLOBAL WINAPI TracedGlobalAlloc(UINT flags, SIZE_T bytes)
{
    HGLOBAL h = g_hooks->alloc.original<decltype(&::GlobalAlloc)>()(flags, bytes);
    g_trace.Record("alloc", h, true);
    return h;
}

LPVOID WINAPI TracedGlobalLock(HGLOBAL h)
{
    g_trace.Record("lock", h, false);
    return g_hooks->lock.original<decltype(&::GlobalLock)>()(h);
}

BOOL WINAPI TracedGlobalUnlock(HGLOBAL h)
{
    g_trace.Record("unlock", h, false);
    return g_hooks->unlock.original<decltype(&::GlobalUnlock)>()(h);
}

HGLOBAL WINAPI TracedGlobalFree(HGLOBAL h)
{
    g_trace.Record("free", h, false);
    return g_hooks->free.original<decltype(&::GlobalFree)>()(h);
}

Gdiplus::GpStatus WINGDIPAPI TracedCreateBitmapFromStream(IStream* stream, Gdiplus::GpBitmap** bitmap)
{
    const auto status = g_hooks->create.original<decltype(&TracedCreateBitmapFromStream)>()(stream, bitmap);
    g_trace.Record("create", bitmap ? *bitmap : nullptr, true);
    return status;
}

Gdiplus::GpStatus WINGDIPAPI TracedDisposeImage(Gdiplus::GpImage* image)
{
    g_trace.Record("dispose", image, false);
    return g_hooks->dispose.original<decltype(&TracedDisposeImage)>()(image);
}

// A holder whose memory block the test can look at.
class ResourceProbe : public CGdiPlusBitmapResource {
public:
    HGLOBAL block() const { return m_hImageData; }
};

// A plain holder given a bitmap made elsewhere.
class PlainProbe : public CGdiPlusBitmap {
public:
    void Give(Gdiplus::Bitmap* bitmap) { m_pGdipBitmap = bitmap; }
};

UINT LockCount(HGLOBAL h)
{
    return ::GlobalFlags(h) & GMEM_LOCKCOUNT;
}

class ResourceBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hooks = new Hooks;
        g_hooks = m_hooks;
        ASSERT_TRUE(m_hooks->alloc.found() && m_hooks->lock.found() && m_hooks->unlock.found() &&
                    m_hooks->free.found() && m_hooks->create.found() && m_hooks->dispose.found());
        g_trace.Reset();
    }
    void TearDown() override
    {
        delete m_hooks;
        g_hooks = nullptr;
    }
    Hooks* m_hooks = nullptr;
};

TEST_F(ResourceBitmap, LoadsOrFailsLeavingNothingBehind)
{
    const UINT missingId = 4242;
    struct Case {
        const char* what;
        UINT id;
        const wchar_t* type;
        bool loaded;
        const char* trace;  // the calls of the load
    };
    const Case cases[] = {
        {"close picture", IDB_CLOSE_GIF, L"GIF", true, "alloc b1, lock b1, create i1"},
        {"minimize picture", IDB_MINIMIZE_GIF, L"GIF", true, "alloc b1, lock b1, create i1"},
        {"no resource with that id", missingId, L"GIF", false, ""},
        {"id of another type", IDB_CLOSE_GIF, L"PNG", false, ""},
        {"resource of no bytes", IDB_TEST_EMPTY, L"GIF", false, ""},
        // The bitmap object goes before the block is unlocked and freed.
        {"bytes that are no picture", IDB_TEST_NOT_A_PICTURE, L"GIF", false,
         "alloc b1, lock b1, create -, dispose -, unlock b1, free b1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_trace.Reset();
        {
            ResourceProbe holder;
            EXPECT_EQ(holder.Load(c.id, c.type, nullptr), c.loaded);
            EXPECT_EQ(g_trace.Take(), c.trace);
            EXPECT_EQ(holder.GetBitmap() != nullptr, c.loaded);
            EXPECT_EQ(holder.block() != nullptr, c.loaded);
            if (c.loaded) {
                EXPECT_EQ(holder.GetBitmap()->GetWidth(), 52u);
                EXPECT_EQ(holder.GetBitmap()->GetHeight(), 55u);
                EXPECT_EQ(LockCount(holder.block()), 1u);
                // The block holds the resource's bytes.
                HRSRC res = ::FindResourceW(nullptr, MAKEINTRESOURCEW(c.id), c.type);
                const DWORD size = ::SizeofResource(nullptr, res);
                const void* bytes = ::LockResource(::LoadResource(nullptr, res));
                ASSERT_GE(::GlobalSize(holder.block()), size);
                void* copy = ::GlobalLock(holder.block());
                EXPECT_EQ(memcmp(copy, bytes, size), 0);
                ::GlobalUnlock(holder.block());
                g_trace.Take();
            }
        }
        // Destruction: the bitmap, then the block.
        EXPECT_EQ(g_trace.Take(), c.loaded ? "dispose i1, unlock b1, free b1" : "");
    }
}

TEST_F(ResourceBitmap, ALoadFirstReleasesWhatWasLoaded)
{
    struct Case {
        const char* what;
        UINT secondId;
        bool loaded;
        const char* trace;  // the calls of the second load
    };
    const Case cases[] = {
        {"another picture", IDB_MINIMIZE_GIF, true,
         "dispose i1, unlock b1, free b1, alloc b2, lock b2, create i2"},
        {"the same picture", IDB_CLOSE_GIF, true,
         "dispose i1, unlock b1, free b1, alloc b2, lock b2, create i2"},
        // A failed reload leaves the holder empty, never with the old picture.
        {"a missing picture", 4242, false, "dispose i1, unlock b1, free b1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_trace.Reset();
        ResourceProbe holder;
        ASSERT_TRUE(holder.Load(IDB_CLOSE_GIF, L"GIF", nullptr));
        g_trace.Take();
        EXPECT_EQ(holder.Load(c.secondId, L"GIF", nullptr), c.loaded);
        EXPECT_EQ(g_trace.Take(), c.trace);
        EXPECT_EQ(holder.GetBitmap() != nullptr, c.loaded);
        if (c.loaded) {
            EXPECT_EQ(LockCount(holder.block()), 1u);
        } else {
            EXPECT_EQ(holder.block(), nullptr);
        }
    }
}

TEST_F(ResourceBitmap, EveryWayOfLettingGoReleasesEverything)
{
    struct Case {
        const char* what;
        void (*release)();
        const char* trace;
    };
    const Case cases[] = {
        {"empty holder destroyed", [] { CGdiPlusBitmapResource holder; }, ""},
        {"loaded holder destroyed through its base",
         [] {
             auto* holder = new CGdiPlusBitmapResource;
             holder->Load(IDB_CLOSE_GIF, L"GIF", nullptr);
             CGdiPlusBitmap* base = holder;
             delete base;
         },
         "alloc b1, lock b1, create i1, dispose i1, unlock b1, free b1"},
        {"loaded holder emptied",
         [] {
             ResourceProbe holder;
             holder.Load(IDB_CLOSE_GIF, L"GIF", nullptr);
             holder.FreeImage();
             EXPECT_EQ(holder.GetBitmap(), nullptr);
             EXPECT_EQ(holder.block(), nullptr);
             g_trace.Record("emptied", nullptr, false);
         },
         "alloc b1, lock b1, create i1, dispose i1, unlock b1, free b1, emptied -"},
        {"plain holder destroyed",
         [] {
             PlainProbe holder;
             holder.Give(new Gdiplus::Bitmap(4, 4, PixelFormat32bppARGB));
         },
         "dispose i1"},
        {"plain holder emptied",
         [] {
             PlainProbe holder;
             holder.Give(new Gdiplus::Bitmap(4, 4, PixelFormat32bppARGB));
             holder.FreeImage();
             EXPECT_EQ(holder.GetBitmap(), nullptr);
             g_trace.Record("emptied", nullptr, false);
         },
         "dispose i1, emptied -"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_trace.Reset();
        c.release();
        EXPECT_EQ(g_trace.Take(), c.trace);
    }
}

} // namespace
