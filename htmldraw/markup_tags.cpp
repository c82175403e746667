#include "htmldraw/markup_tags.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace {

// Sorted by name (ordinal) for the binary search below.
const MarkupTag kTags[] = {
    {L"a", kTagLink, L"link"},
    {L"b", kTagBold, L"bold"},
    {L"baseline", kTagBaseline, L"baseline"},
    {L"big", kTagNamedRule, L"big"},
    {L"bmp", kTagBitmap, L""},
    {L"body", kTagNamedRule, L"body"},
    {L"bottom", kTagBottom, L"vcenter"},  // shares vcenter's name, so either closes the other
    {L"br", kTagBreak, L""},
    {L"center", kTagCenter, L"center"},
    {L"code", kTagNamedRule, L"code"},
    {L"em", kTagItalic, L"italic"},
    {L"font", kTagFont, L"font"},
    {L"h1", kTagNamedRule, L"h1"},
    {L"h2", kTagNamedRule, L"h2"},
    {L"h3", kTagNamedRule, L"h3"},
    {L"h4", kTagNamedRule, L"h4"},
    {L"h5", kTagNamedRule, L"h5"},
    {L"h6", kTagNamedRule, L"h6"},
    {L"hr", kTagRule, L""},
    {L"i", kTagItalic, L"italic"},
    {L"icon", kTagIcon, L""},
    {L"ilst", kTagImageList, L""},
    {L"justify", kTagJustify, L"justify"},
    {L"left", kTagLeft, L"left"},
    {L"middle", kTagVCenter, L"vcenter"},
    {L"pre", kTagNamedRule, L"pre"},
    {L"right", kTagRight, L"right"},
    {L"s", kTagStrikeout, L"strikeout"},
    {L"small", kTagNamedRule, L"small"},
    {L"span", kTagSpan, L"span"},
    {L"strike", kTagStrikeout, L"strikeout"},
    {L"string", kTagString, L""},
    {L"sub", kTagNamedRule, L"sub"},
    {L"sup", kTagNamedRule, L"sup"},
    {L"t", kTagTab, L""},
    {L"top", kTagTop, L"top"},
    {L"u", kTagUnderline, L"underline"},
    {L"vcenter", kTagVCenter, L"vcenter"},
};

// Ordinal comparison of a table name with (name, len).
int Compare(const wchar_t* tableName, const wchar_t* name, size_t len) {
  size_t i = 0;
  for (; i < len && tableName[i] != L'\0'; ++i) {
    if (tableName[i] != name[i]) return tableName[i] < name[i] ? -1 : 1;
  }
  if (i < len) return -1;                       // table name is a prefix of name
  return tableName[i] == L'\0' ? 0 : 1;         // name is a prefix of the table name
}

}  // namespace

const MarkupTag* FindMarkupTag(const wchar_t* name, size_t len) {
  if (len == 0 || len > 8) return nullptr;  // no tag name is longer
  const MarkupTag* first = std::begin(kTags);
  const MarkupTag* last = std::end(kTags);
  while (first < last) {
    const MarkupTag* mid = first + (last - first) / 2;
    int c = Compare(mid->name, name, len);
    if (c == 0) return mid;
    if (c < 0) first = mid + 1; else last = mid;
  }
  return nullptr;
}
