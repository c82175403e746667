#include "foundation/localization/resource_collect.h"

#include "foundation/localization/dialog_localizer.h"
#include "foundation/localization/dialog_template.h"
#include "foundation/localization/language_files.h"
#include "foundation/localization/lng_section_batch.h"
#include "foundation/localization/localized_strings.h"
#include "foundation/localization/menu_localizer.h"
#include "foundation/text/text_basics.h"

namespace {

BOOL CALLBACK AddResourceId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* ids = reinterpret_cast<std::vector<UINT>*>(param);
  ids->push_back(IS_INTRESOURCE(name) ? static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)) : 0);
  return TRUE;
}

}  // namespace

int CollectDialogTexts(const std::wstring& lngFile, HMODULE module, WORD dialogId,
                       const std::wstring& name) {
  std::vector<BYTE> bytes;
  DialogTemplateInfo info;
  if (!LoadDialogTemplate(module, dialogId, &bytes) ||
      !ParseDialogTemplate(bytes.data(), bytes.size(), &info))
    return -1;
  CLngSectionBatch batch(lngFile, MakeDialogSectionName(name, dialogId));
  for (const DialogTemplateControl& control : info.controls) {
    if (control.text.empty() || IsSkippedControlClassName(control.className)) continue;
    batch.AddMissing(IntToStr(control.id), control.text);
  }
  const int written = batch.Flush();
  return written < 0 ? kLngCollectWriteFailed : written;
}

int CollectMenuTexts(const std::wstring& lngFile, HMODULE module, WORD menuId,
                     const std::wstring& suffix) {
  if (!module) module = GetModuleHandleW(nullptr);
  HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(menuId));
  if (!menu) return -1;
  const int written = WriteMenuTexts(lngFile, MakeMenuSectionName(suffix), menu);
  DestroyMenu(menu);
  return written < 0 ? kLngCollectWriteFailed : written;
}

int CollectStringTexts(const std::wstring& lngFile, HMODULE module, const std::vector<UINT>& ids,
                       const std::wstring& suffix) {
  CLngSectionBatch batch(lngFile, kLngStringsSection + suffix);
  for (UINT id : ids) {
    std::wstring text;
    if (!LoadResourceString(module, id, &text)) continue;
    EscapeLngText(text);
    batch.AddMissing(std::to_wstring(id), text);
  }
  const int written = batch.Flush();
  return written < 0 ? kLngCollectWriteFailed : written;
}

std::vector<UINT> EnumResourceIds(HMODULE module, LPCWSTR type) {
  std::vector<UINT> ids;
  if (!module) module = GetModuleHandleW(nullptr);
  EnumResourceNamesW(module, type, AddResourceId, reinterpret_cast<LONG_PTR>(&ids));
  return ids;
}
