// The program's version as the user sees it ("Quillora 1.50 build 7").
#pragma once
#include <string>

// Every "," becomes "." and blanks go; then only the first "." stays
// ("1, 5, 0" -> "1.50").
void NormalizeVersionText(std::wstring& text);

// From the product version of a version block ("1.5.0.7"): "Quillora" when
// withProduct, the version without the build, normalised, then (withBuild)
// the prefix, a blank when blankBeforeBuild and the build number, then "^"
// for an administrator. Without a version block only the product name.
std::wstring ComposeProgramVersionText(const std::wstring& rawVersion, bool withProduct,
                                       bool withBuild, const std::wstring& buildPrefix,
                                       bool blankBeforeBuild, bool isAdmin);

// The same from the running program's own version block and its rights.
std::wstring BuildProgramVersionText(bool withProduct, bool withBuild,
                                     const std::wstring& buildPrefix, bool blankBeforeBuild);

// "Quillora 1.50 b7": product, version, "b" and the build, "^" for an
// administrator.
std::wstring GetProgramVersionTextShort();
