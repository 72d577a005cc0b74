// Pictures held as GDI+ bitmaps: a plain holder and one filled from the
// executable's resources.
//
// Classes in this file: CGdiPlusBitmap, CGdiPlusBitmapResource.
//
// GDI+ must be running (GdiplusStartup) whenever a picture is loaded and
// whenever a holder that holds one is destroyed. User-interface thread only.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

// Owns one GDI+ bitmap, or nothing.
class CGdiPlusBitmap {
public:
    CGdiPlusBitmap() = default;
    // Deletes the bitmap if one is still held.
    virtual ~CGdiPlusBitmap();
    CGdiPlusBitmap(const CGdiPlusBitmap&) = delete;
    CGdiPlusBitmap& operator=(const CGdiPlusBitmap&) = delete;

    // The held picture, or null. The holder keeps ownership.
    Gdiplus::Bitmap* GetBitmap() const noexcept { return m_pGdipBitmap; }

    // Deletes the bitmap, if any; the holder is empty afterwards.
    void FreeImage();

protected:
    Gdiplus::Bitmap* m_pGdipBitmap = nullptr;  // owned; null when nothing is loaded
};

// A bitmap decoded from a resource of the executable (or of a module). The
// bitmap reads from a private, locked copy of the resource bytes, which lives
// exactly as long as the bitmap does.
class CGdiPlusBitmapResource : public CGdiPlusBitmap {
public:
    CGdiPlusBitmapResource() = default;
    // Releases the bitmap, then its memory block.
    ~CGdiPlusBitmapResource() override;

    // Deletes the bitmap, then unlocks and frees its memory block.
    void FreeImage();

    // Decodes resource nResourceId of type pszType from hModule (null: the
    // executable). Whatever the holder held is released first. True when a
    // picture was decoded; on false the holder is empty and has freed
    // everything it allocated on the way.
    bool Load(UINT nResourceId, LPCTSTR pszType, HMODULE hModule = nullptr);

protected:
    HGLOBAL m_hImageData = nullptr;  // owned movable block with the resource bytes, locked once
};
