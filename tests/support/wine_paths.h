// Paths handed to the test programs on their command line are Unix paths;
// Wine shows the Unix file system as drive Z:.
#pragma once

#include <string>

namespace testing_support {

inline std::wstring ToWindowsPath(const std::string& path)
{
    std::wstring w(path.begin(), path.end());
    if (!w.empty() && w[0] == L'/') {
        for (auto& c : w)
            if (c == L'/')
                c = L'\\';
        w = L"Z:" + w;
    }
    return w;
}

} // namespace testing_support
