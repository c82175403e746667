#include "platform/htmlayout/url.h"

#include <vector>

namespace hl {
namespace {

bool IsAlpha(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsSlash(wchar_t c) { return c == L'/' || c == L'\\'; }

bool IsDrivePath(const std::wstring& s) { return s.size() >= 2 && IsAlpha(s[0]) && s[1] == L':' && (s.size() == 2 || IsSlash(s[2])); }
bool IsUncPath(const std::wstring& s) { return s.size() >= 2 && s[0] == L'\\' && s[1] == L'\\'; }

// "http:", "mailto:" ... (a drive letter is no scheme).
bool HasScheme(const std::wstring& s) {
  size_t i = 0;
  while (i < s.size() && (IsAlpha(s[i]) || (i > 0 && (iswdigit(s[i]) || s[i] == L'+' || s[i] == L'-' || s[i] == L'.')))) ++i;
  return i >= 2 && i < s.size() && s[i] == L':';
}

// Folds "." and ".." in path (everything after the fixed prefix) and joins
// the parts with sep.
std::wstring Fold(const std::wstring& prefix, const std::wstring& path, wchar_t sep) {
  std::vector<std::wstring> parts;
  size_t i = 0;
  bool trailing = false;
  while (i <= path.size()) {
    size_t j = i;
    while (j < path.size() && !IsSlash(path[j])) ++j;
    std::wstring part = path.substr(i, j - i);
    bool last = j >= path.size();
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.push_back(part);
    }
    // "a/", "a/." and "a/.." all name a folder.
    if (last) trailing = part.empty() || part == L"." || part == L"..";
    i = j + 1;
  }
  std::wstring out = prefix;
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k > 0 || (!out.empty() && !IsSlash(out.back()))) out += sep;
    out += parts[k];
  }
  if (trailing && !parts.empty()) out += sep;
  return out;
}

// Splits off "?query#fragment" of a URL reference (kept as they are).
std::wstring SplitTail(std::wstring& s) {
  size_t at = s.find_first_of(L"?#");
  if (at == std::wstring::npos) return std::wstring();
  std::wstring tail = s.substr(at);
  s.resize(at);
  return tail;
}

}  // namespace

std::wstring ResolveUrl(const std::wstring& base, const std::wstring& reference) {
  if (reference.empty()) return base;
  if (base.empty() || HasScheme(reference) || IsDrivePath(reference) || IsUncPath(reference)) return reference;
  if (reference[0] == L'#') return base.substr(0, base.find(L'#')) + reference;

  std::wstring ref = reference;
  std::wstring tail = SplitTail(ref);
  std::wstring root, dir;  // root: the part ".." never climbs out of
  wchar_t sep = L'/';
  if (IsDrivePath(base) || IsUncPath(base)) {
    sep = L'\\';
    size_t rootEnd = 2;
    if (IsUncPath(base)) {  // \\server\share
      rootEnd = base.find_first_of(L"\\/", 2);
      if (rootEnd != std::wstring::npos) rootEnd = base.find_first_of(L"\\/", rootEnd + 1);
      if (rootEnd == std::wstring::npos) rootEnd = base.size();
    }
    root = base.substr(0, rootEnd);
    dir = base.substr(rootEnd);
  } else {
    std::wstring b = base;
    SplitTail(b);
    size_t scheme = b.find(L':');
    if (!HasScheme(b)) return reference;  // a base we cannot read: the reference as written
    size_t authorityEnd = scheme + 1;
    if (b.compare(scheme + 1, 2, L"//") == 0) {
      authorityEnd = b.find(L'/', scheme + 3);
      if (authorityEnd == std::wstring::npos) authorityEnd = b.size();
    }
    if (ref.compare(0, 2, L"//") == 0) return b.substr(0, scheme + 1) + reference;
    root = b.substr(0, authorityEnd);
    dir = b.substr(authorityEnd);
  }
  if (IsSlash(ref[0])) return Fold(root, ref, sep) + tail;
  size_t cut = dir.find_last_of(L"\\/");
  dir = cut == std::wstring::npos ? std::wstring() : dir.substr(0, cut + 1);
  std::wstring joined = Fold(root, dir + ref, sep);
  if (sep == L'/' && joined.size() == root.size()) joined += L'/';
  return joined + tail;
}

}  // namespace hl
