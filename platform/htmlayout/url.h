// Resolves a reference of a page against its base. A Windows path base
// ("C:\app\HTML\img", "\\server\share\x") resolves like a URL: the last part
// of the base is replaced, "." and ".." parts are folded, '/' becomes '\'.
#pragma once
#include <string>

namespace hl {

std::wstring ResolveUrl(const std::wstring& base, const std::wstring& reference);

}  // namespace hl
