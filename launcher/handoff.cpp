#include "handoff.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwchar>

namespace launcher {

namespace {
bool HasWebScheme(const std::wstring& url)
{
    for (const wchar_t* scheme : {L"http://", L"https://"}) {
        const size_t n = wcslen(scheme);
        if (url.size() >= n && _wcsnicmp(url.c_str(), scheme, n) == 0)
            return true;
    }
    return false;
}
} // namespace

bool IsGameAddress(const std::wstring& url)
{
    return HasWebScheme(url) && ::StrStrW(url.c_str(), L"play") != nullptr;
}

} // namespace launcher
