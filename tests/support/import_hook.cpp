#include "import_hook.h"

#include <cstring>

namespace testing_support {

ImportHook::ImportHook(const char* dll, const char* function, void* replacement)
{
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), dll) != 0)
            continue;
        const DWORD namesRva = imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesRva);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            if (m_count == static_cast<int>(sizeof m_slots / sizeof m_slots[0]))
                break;
            void** slot = reinterpret_cast<void**>(&slots->u1.Function);
            if (!m_original)
                m_original = *slot;
            m_slots[m_count++] = slot;
            Write(slot, replacement);
        }
    }
}

ImportHook::~ImportHook()
{
    for (int i = 0; i < m_count; ++i)
        Write(m_slots[i], m_original);
}

void ImportHook::Write(void** slot, void* value)
{
    DWORD old = 0;
    ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = value;
    ::VirtualProtect(slot, sizeof(void*), old, &old);
}

} // namespace testing_support
