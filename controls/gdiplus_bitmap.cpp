#include "controls/gdiplus_bitmap.h"

#include <cstring>
#include <new>
#include <objidl.h>
#include <gdiplus.h>

// --- CGdiPlusBitmap -------------------------------------------------------

CGdiPlusBitmap::~CGdiPlusBitmap()
{
    delete m_pGdipBitmap;
    m_pGdipBitmap = nullptr;
}

void CGdiPlusBitmap::FreeImage()
{
    delete m_pGdipBitmap;
    m_pGdipBitmap = nullptr;
}

// --- CGdiPlusBitmapResource -----------------------------------------------

CGdiPlusBitmapResource::~CGdiPlusBitmapResource()
{
    FreeImage();
}

void CGdiPlusBitmapResource::FreeImage()
{
    CGdiPlusBitmap::FreeImage();
    if (m_hImageData) {
        ::GlobalUnlock(m_hImageData);
        ::GlobalFree(m_hImageData);
        m_hImageData = nullptr;
    }
}

bool CGdiPlusBitmapResource::Load(UINT nResourceId, LPCTSTR pszType, HMODULE hModule)
{
    FreeImage();

    HRSRC hResInfo = ::FindResourceW(hModule, MAKEINTRESOURCEW(nResourceId), pszType);
    if (!hResInfo)
        return false;
    const DWORD size = ::SizeofResource(hModule, hResInfo);
    if (size == 0)
        return false;
    const void* pResourceData = ::LockResource(::LoadResource(hModule, hResInfo));
    if (!pResourceData)
        return false;

    m_hImageData = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!m_hImageData)
        return false;

    if (void* pBuffer = ::GlobalLock(m_hImageData)) {
        memcpy(pBuffer, pResourceData, size);

        // The stream reads the block but does not own it.
        IStream* pStream = nullptr;
        if (::CreateStreamOnHGlobal(m_hImageData, FALSE, &pStream) == S_OK && pStream) {
            // Bitmap::FromStream without colour management, made in GDI+'s own
            // memory so that a failed allocation leaves no object to construct.
            if (void* pMemory = Gdiplus::DllExports::GdipAlloc(sizeof(Gdiplus::Bitmap)))
                m_pGdipBitmap = ::new (pMemory) Gdiplus::Bitmap(pStream, FALSE);
            pStream->Release();  // the bitmap keeps its own reference

            if (m_pGdipBitmap) {
                if (m_pGdipBitmap->GetLastStatus() == Gdiplus::Ok)
                    return true;  // the block stays allocated and locked
                delete m_pGdipBitmap;
                m_pGdipBitmap = nullptr;
            }
        }
        ::GlobalUnlock(m_hImageData);
    }
    ::GlobalFree(m_hImageData);
    m_hImageData = nullptr;
    return false;
}
