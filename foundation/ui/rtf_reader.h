// A reader of the RTF our programs meet: what the rich edit control writes
// and what phrase files hold. It reads text and the character-level words
// that plain RTF uses, and refuses everything else (tables, fields,
// objects, pictures, unknown words, malformed or truncated input), so a
// caller can fall back to reading through the control. What it accepts it
// reads as the control does.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// One character of the body text and the source bytes it was read from.
struct RtfCharToken {
  enum Kind { kRaw, kHex, kUnicode, kSpecial } kind;
  size_t from, to;  // the token without its delimiter
  UINT codePage;    // of the font in effect (kRaw, kHex)
  int skip;         // fallback characters after a \u word (\uc)
  bool styled;      // a font of the font table and a size are in effect
};

class RtfSink {
 public:
  virtual ~RtfSink() = default;
  // A text character; a paragraph mark comes as L'\r'.
  virtual void Char(wchar_t c, const RtfCharToken& token) = 0;
  // A body word that sets colour, bold, italic, underline, strike-out or
  // protection (without its delimiter), and whether it turns it on.
  virtual void Emphasis(size_t from, size_t to, const char* word) {}
  // The end of a \plain word (it resets the colour to automatic).
  virtual void PlainReset(size_t end) {}
  // The closing brace of the colour table, which holds count entries; or,
  // with no table, the end of the \rtf1 word, where one may be put, with
  // count -1.
  virtual void ColorTable(size_t at, int count) {}
};

// Reads size bytes of 8-bit RTF into the sink; false when the RTF is
// outside what this reader knows (the sink may have been fed part of it).
bool ReadRtf(const char* rtf, size_t size, RtfSink& sink);

// The control's plain text of 8-bit RTF (paragraph marks as CR LF), or
// false when the reader does not accept it.
bool RtfPlainTextFast(const char* rtf, size_t size, std::wstring* plain);
