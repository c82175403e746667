#include "foundation/localization/lng_dialog_names.h"

#include "foundation/localization/language_files.h"

namespace {

struct LngDialogName {
  const wchar_t* suffix;
  WORD dialogId;
  const wchar_t* name;
};

// Every dialog a program runs its localiser on, by resource id.
constexpr LngDialogName kLngDialogNames[] = {
    {kLngSuffixClient, 100, L"About"},               // the about box
    {kLngSuffixClient, 220, L"Prompt"},              // the phrase's prompt for a text
    {kLngSuffixEditor, 128, L""},                    // the language bar
    {kLngSuffixEditor, 130, L""},                    // the settings page
    {kLngSuffixWelcome, 129, kLngSuffixWelcome},     // the welcome window
};

}  // namespace

std::wstring GetLngDialogName(const std::wstring& programSuffix, WORD dialogId) {
  for (const LngDialogName& entry : kLngDialogNames)
    if (entry.dialogId == dialogId && programSuffix == entry.suffix) return entry.name;
  return programSuffix;
}
