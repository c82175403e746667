#include "foundation/resource_collect.h"

#include <vector>

#include "foundation/dialog_localizer.h"
#include "foundation/dialog_template.h"
#include "foundation/language_files.h"
#include "foundation/menu_localizer.h"
#include "foundation/text_basics.h"

namespace {
constexpr wchar_t kAbsent[] = L"{0E5B1C0A-7A43-4F0B-9D0E-2F4C8A1B6D37}";
}

int CollectDialogTexts(const std::wstring& lngFile, HMODULE module, WORD dialogId,
                       const std::wstring& name) {
  std::vector<BYTE> bytes;
  DialogTemplateInfo info;
  if (!LoadDialogTemplate(module, dialogId, &bytes) ||
      !ParseDialogTemplate(bytes.data(), bytes.size(), &info))
    return -1;
  const std::wstring section = MakeDialogSectionName(name, dialogId);
  int written = 0;
  for (const DialogTemplateControl& control : info.controls) {
    if (control.text.empty() || IsSkippedControlClassName(control.className)) continue;
    const std::wstring key = IntToStr(control.id);
    std::wstring value;
    ReadLngValue(lngFile, section, key, kAbsent, 64, &value);
    if (value != kAbsent) continue;
    if (WriteLngValue(lngFile, section, key, control.text)) ++written;
  }
  return written;
}

bool CollectMenuTexts(const std::wstring& lngFile, HMODULE module, WORD menuId,
                      const std::wstring& suffix) {
  if (!module) module = GetModuleHandleW(nullptr);
  HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId));
  if (!menu) return false;
  WriteMenuTexts(lngFile, MakeMenuSectionName(suffix), menu);
  DestroyMenu(menu);
  return true;
}
