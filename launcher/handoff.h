// The rule that hands a portal address over to the game window.
#pragma once

#include <string>

namespace launcher {

// A game page: a web address (http or https) containing "play", matched
// case-sensitively anywhere (host, path, query, inside longer words). Script,
// file and other non-web addresses are never handed off.
bool IsGameAddress(const std::wstring& url);

} // namespace launcher
