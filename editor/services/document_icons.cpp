#include "editor/services/document_icons.h"

#include <shellapi.h>

#include "foundation/files/paths.h"
#include "foundation/system/handles.h"
#include "foundation/system/registry.h"
#include "foundation/ui/icons.h"

namespace {

constexpr size_t kClassValueChars = 520;

}  // namespace

bool HasAssociatedProgram(const std::wstring& ext) {
  std::wstring path = GetTempFileNameWithExt(ext[0] == L'.' ? ext.substr(1) : ext);
  if (path.empty()) return false;
  {
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!file) return false;
  }
  wchar_t program[MAX_PATH] = {};
  INT_PTR answer = reinterpret_cast<INT_PTR>(FindExecutableW(path.c_str(), nullptr, program));
  DeleteFileW(path.c_str());
  return answer > 32 && program[0] != L'\0';
}

HICON GetRichDocumentIcon() {
  for (const wchar_t* ext : {L".doc", L".docx", L".rtf"})
    if (HasAssociatedProgram(ext)) return GetShellFileIcon(ext, false);
  return nullptr;
}

HICON GetTextDocumentIcon() { return GetTxtFileIcon(); }

std::wstring GetRegClassDisplayName(const std::wstring& classKey) {
  if (classKey.empty()) return std::wstring();
  std::wstring clsid, name;
  if (RegReadString(HKEY_CLASSES_ROOT, (classKey + L"\\CLSID").c_str(), nullptr, kClassValueChars, clsid) &&
      !clsid.empty() &&
      RegReadString(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str(), nullptr, kClassValueChars, name))
    return name;
  RegReadString(HKEY_CLASSES_ROOT, classKey.c_str(), nullptr, kClassValueChars, name);
  return name;
}
