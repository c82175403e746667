// The tags of the drawer's markup: identifier and the style name that pairs
// an opening tag with its closing form. An empty style name marks an object
// tag, which draws something and opens no style frame.
#pragma once
#include <cstddef>

enum HtmlTagId {
  kTagBold = 1,
  kTagItalic = 2,
  kTagUnderline = 3,
  kTagStrikeout = 4,
  kTagFont = 5,
  kTagRule = 6,
  kTagBreak = 7,
  kTagTab = 8,
  kTagLeft = 9,
  kTagCenter = 10,
  kTagRight = 11,
  kTagJustify = 12,
  kTagBaseline = 13,
  kTagTop = 14,
  kTagVCenter = 15,
  kTagBottom = 16,
  kTagBitmap = 17,
  kTagIcon = 18,
  kTagImageList = 19,
  kTagString = 20,
  kTagNamedRule = 21,  // body, h1..h6, code, pre, big, small, sub, sup
  kTagSpan = 22,
  kTagLink = 23,
};

struct MarkupTag {
  const wchar_t* name;
  HtmlTagId id;
  const wchar_t* styleName;  // "" for object tags

  bool IsObject() const { return styleName[0] == L'\0'; }
};

// Exact, case-sensitive lookup of a tag name of len characters; null when the
// dialect has no such tag.
const MarkupTag* FindMarkupTag(const wchar_t* name, size_t len);
