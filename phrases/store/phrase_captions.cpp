#include "phrases/store/phrase_captions.h"

#include "foundation/text/text_basics.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr wchar_t kCaptionTrim[] = L" \t\r\n\v\b";

}  // namespace

std::wstring NormalizeCaptionText(const std::wstring& text, int maxChars) {
  static const wchar_t kBreaks[] = L"\t\r\n\v\b";
  std::wstring result = TrimChars(text, kCaptionTrim);
  size_t cut = result.find_first_of(kBreaks);
  if (cut != std::wstring::npos && cut >= 2) result.resize(cut);
  size_t limit = static_cast<size_t>(static_cast<unsigned int>(maxChars));
  if (result.size() > limit) {
    result.resize(limit);
    result += L"\u2026";
  }
  static const wchar_t* const kToBlank[] = {L"\r\n", L"\n", L"\r", L"\t", L"\r\r", L"\v", L"\b", L"\v\b"};
  for (const wchar_t* from : kToBlank) ReplaceText(result, from, L" ");
  return result;
}

std::wstring ShortenHistoryCaption(const std::wstring& text, int maxChars) {
  std::wstring result = TrimChars(text, kCaptionTrim);
  if (maxChars >= 0 && result.size() > static_cast<size_t>(maxChars) &&
      !ShortenUrlForCaption(result, maxChars))
    ShortenTextForCaption(result, maxChars);
  return result;
}
