// Tolerant decoding of document bytes and of character references: every
// input gives some text, never an error, in time linear in its length.
#pragma once
#include <cstddef>
#include <string>

namespace hl {

// UTF-8 (a leading byte-order mark skipped) -> UTF-16. Malformed sequences,
// overlong forms, surrogates and code points past U+10FFFF each become
// U+FFFD; embedded zero bytes are kept.
std::wstring DecodeUtf8(const unsigned char* bytes, size_t size);

// Appends text[0..size) to out with character references (&amp; &#233;
// &#x2022; and the named ones pages use) replaced; unknown ones stay as written.
void AppendDecodedText(std::wstring& out, const wchar_t* text, size_t size);

}  // namespace hl
