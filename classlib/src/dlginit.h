// Reading a dialog's DLGINIT resource (type 240): records of a 16-bit
// control id, a 16-bit message, a 32-bit data length and the data; a 0 id
// ends them. Internal to the class library.
#pragma once

#include <windows.h>

#include <cstring>

namespace cl {

struct DlgInitRecord {
    WORD id;
    WORD message;
    const BYTE* data;
    DWORD length;
};

// Calls visit(record) for each record of the DLGINIT resource `name` of
// hInst, in order, until visit returns false. A record whose length runs
// past the resource ends the reading. False when the resource is missing.
template <class Visit> bool ForEachDlgInitRecord(HINSTANCE hInst, LPCWSTR name, Visit visit)
{
    HRSRC res = name ? ::FindResourceW(hInst, name, MAKEINTRESOURCEW(240)) : nullptr;
    if (!res)
        return false;
    const DWORD total = ::SizeofResource(hInst, res);
    HGLOBAL h = ::LoadResource(hInst, res);
    const BYTE* p = h ? static_cast<const BYTE*>(::LockResource(h)) : nullptr;
    if (!p)
        return false;
    const BYTE* end = p + total;
    while (end - p >= 2) {
        DlgInitRecord r{};
        memcpy(&r.id, p, 2);
        if (r.id == 0 || end - p < 8)
            break;
        memcpy(&r.message, p + 2, 2);
        memcpy(&r.length, p + 4, 4);
        p += 8;
        if (r.length > static_cast<DWORD>(end - p))
            break;
        r.data = p;
        if (!visit(r))
            break;
        p += r.length;
    }
    return true;
}

} // namespace cl
