// Which images a page may show: local .bmp, .ico and .png files under the folder
// of its base, never anything remote, on a share or reached through "..".
#pragma once
#include <string>

namespace hl {

// The local folder images of a page with that base may come from: the
// folder of a local file path or file: URL; empty for remote, UNC and
// relative bases.
std::wstring ImageFolderOf(const std::wstring& baseUrl);
// The full path of an image reference when it names a .bmp, .ico or .png file
// inside folder (no scheme but file:, no UNC, no way out through ".."); empty
// otherwise.
std::wstring LocalImagePath(const std::wstring& folder, const std::wstring& baseUrl, const std::wstring& src);

}  // namespace hl
