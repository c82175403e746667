#include "online/about/about_report.h"

#include "foundation/system/handles.h"

namespace {

std::wstring Cut(const std::wstring& text, size_t limit) {
  return text.size() > limit ? text.substr(0, limit) : text;
}

std::wstring Trim(const std::wstring& text) {
  size_t first = text.find_first_not_of(L" \t\r\n");
  if (first == std::wstring::npos) return std::wstring();
  size_t last = text.find_last_not_of(L" \t\r\n");
  return text.substr(first, last - first + 1);
}

constexpr char kProbeBytes[12] = {'Q', 'u', 'i', 'l', 'l', 'o', 'r', 'a', 't', 'e', 's', 't'};

bool WriteProbeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, kProbeBytes, sizeof(kProbeBytes), &written, nullptr);
  CloseHandle(file);
  DeleteFileW(path.c_str());
  return ok && written == sizeof(kProbeBytes);
}

std::wstring WithSlash(const std::wstring& folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') return folder + L"\\";
  return folder;
}

}  // namespace

void AddAboutRow(std::vector<AboutRow>& rows, const std::wstring& caption, const std::wstring& value, int kind) {
  rows.push_back(AboutRow{caption, value, kind});
}

std::wstring BuildAboutReportText(const std::vector<AboutRow>& rows) {
  std::wstring text;
  for (const AboutRow& row : rows) {
    std::wstring caption = Cut(row.caption, kAboutTextChars);
    std::wstring value = Cut(row.value, kAboutTextChars);
    if (row.kind == kAboutGroup) text += L"\r\n";
    if (caption.empty())
      text += L"======================";
    else
      text += caption + L" " + value;
    text += L"\r\n";
  }
  return Trim(text);
}

std::wstring BuildAboutTipText(const AboutRow& row) {
  if (row.kind == kAboutGroup) return std::wstring();
  return Cut(row.caption, kAboutTipChars) + L" " + Cut(row.value, kAboutTipChars);
}

std::wstring MenuTextToTitle(const std::wstring& menuText) {
  std::wstring text = menuText.substr(0, menuText.find(L'\t'));
  if (!text.empty() && text.back() == L'\x2026') text.pop_back();
  while (text.size() >= 3 && text.compare(text.size() - 3, 3, L"...") == 0) text.resize(text.size() - 3);
  std::wstring title;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') {
        title += L'&';
        ++i;
      }
      continue;
    }
    title += text[i];
  }
  return title;
}

std::wstring CleanAboutValue(const std::wstring& text) {
  std::wstring clean = text;
  for (wchar_t& c : clean)
    if (c < L' ' || c == 0x7F) c = L' ';
  return clean;
}

bool ProbePhraseFileWrite(const std::wstring& folder) {
  wchar_t name[64];
  swprintf(name, 64, L"~qlr_test_%lu.quillora", GetCurrentProcessId());
  return WriteProbeFile(WithSlash(folder) + name);
}

bool ProbePhraseGroupWrite(const std::wstring& folder) {
  wchar_t name[64];
  swprintf(name, 64, L"~qlr_test_group_%lu", GetCurrentProcessId());
  std::wstring group = WithSlash(folder) + name;
  if (!CreateDirectoryW(group.c_str(), nullptr)) return false;
  bool ok = WriteProbeFile(group + L"\\~qlr_test.quillora");
  RemoveDirectoryW(group.c_str());
  return ok;
}

bool ProbeFolderOpen(const std::wstring& folder, bool write) {
  HANDLE handle = CreateFileW(folder.c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  CloseHandle(handle);
  return true;
}
