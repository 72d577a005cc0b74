// Replaces, for the lifetime of the object, an entry of this executable's
// import table, so that a test can watch the calls our own code makes to a
// system function (calls made inside system DLLs do not pass through it).
#pragma once

#include <windows.h>

namespace testing_support {

class ImportHook {
public:
    // Points every import of `function` from `dll` (case-insensitive) at
    // `replacement`. found() is false when the executable imports no such
    // function.
    ImportHook(const char* dll, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool found() const { return m_original != nullptr; }
    // The function the entry pointed at before.
    template <class F> F original() const { return reinterpret_cast<F>(m_original); }

private:
    static void Write(void** slot, void* value);

    void** m_slots[4] = {};
    int m_count = 0;
    void* m_original = nullptr;
};

} // namespace testing_support
