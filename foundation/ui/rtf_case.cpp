#include "foundation/ui/rtf_case.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "foundation/ui/rtf_reader.h"

namespace {

constexpr size_t kMaxReserve = 1 << 22;

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// A character RTF may hold as itself.
bool IsPlainAscii(wchar_t c) { return c >= 0x20 && c < 0x80 && c != L'\\' && c != L'{' && c != L'}'; }

// The part of an RtfCharToken a rewrite needs, kept small.
struct Token {
  uint32_t from, to;
  UINT codePage;
  uint8_t kind, skip;
};

struct Edit {
  size_t from, to;  // the source bytes replaced; from == to inserts
  std::string text;
  bool black;  // text is a colour word: the black entry's number goes after it
};

class CaseSink : public RtfSink {
 public:
  // Growing the buffers step by step costs more than the reading itself
  // (each character is at least one byte of RTF).
  explicit CaseSink(size_t size) {
    size_t expected = size < kMaxReserve ? size : kMaxReserve;
    m_text.reserve(expected);
    m_tokens.reserve(expected);
  }

  void Char(wchar_t c, const RtfCharToken& token) override {
    // Text without its own font and size would take the control's
    // defaults, which the control's RTF writes out.
    // The control does not colour a line break as the text around it.
    if (!token.styled || c == L'\v') m_unstyled = true;
    ++m_chars;
    m_lastIsMark = c == L'\r';
    if (token.kind == RtfCharToken::kSpecial) return;
    // Only letters change case: the rest need not be kept.
    if (c < 0x80 && !IsAsciiLetter(c)) return;
    m_text.push_back(c);
    m_tokens.push_back(Token{static_cast<uint32_t>(token.from), static_cast<uint32_t>(token.to), token.codePage,
                             static_cast<uint8_t>(token.kind), static_cast<uint8_t>(token.skip)});
  }
  void Emphasis(size_t from, size_t to, const char* word) override {
    // Each word is turned into its "off" form, so the spacing around it stays.
    static const char* const kOff[][2] = {{"b", "\\b0"},          {"i", "\\i0"},           {"ul", "\\ulnone"},
                                          {"ulnone", "\\ulnone"}, {"strike", "\\strike0"}, {"protect", "\\protect0"},
                                          {"cf", "\\cf"}};
    for (const auto& off : kOff)
      if (!strcmp(word, off[0])) m_edits.push_back({from, to, off[1], !strcmp(word, "cf")});
  }
  void PlainReset(size_t end) override { m_edits.push_back({end, end, "\\cf", true}); }
  void ColorTable(size_t at, int count) override {
    if (count < 0) {  // no table: one of black alone, read before any text
      m_black = 1;
      m_edits.push_back({at, at, "{\\colortbl;\\red0\\green0\\blue0;}\\cf1", false});
      return;
    }
    // In a table without entries the new one would be number 0, which
    // readers take for the automatic colour.
    if (count == 0) m_unstyled = true;
    m_black = count;
    m_edits.push_back({at, at, "\\red0\\green0\\blue0;", false});
    m_edits.push_back({at + 1, at + 1, "\\cf" + std::to_string(count) + " ", false});
  }

  bool Write(const char* rtf, size_t size, bool upper, std::string* out) {
    if (m_unstyled) return false;
    // A last paragraph mark is the one every text ends in: alone, it is no text.
    if (m_chars == 0 || (m_chars == 1 && m_lastIsMark)) return true;
    std::wstring changed = m_text;
    if (!changed.empty()) {
      DWORD n = static_cast<DWORD>(changed.size());
      upper ? CharUpperBuffW(&changed[0], n) : CharLowerBuffW(&changed[0], n);
    }
    // A letter written as itself changes in place; anything else becomes an edit.
    std::string source(rtf, size);
    for (size_t i = 0; i < changed.size(); ++i) {
      wchar_t c = changed[i];
      if (c == m_text[i]) continue;
      if (m_tokens[i].kind == RtfCharToken::kRaw && IsPlainAscii(c))
        source[m_tokens[i].from] = static_cast<char>(c);
      else
        m_edits.push_back(Rewrite(c, m_tokens[i]));
    }
    std::stable_sort(m_edits.begin(), m_edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from != b.from ? a.from < b.from : a.to < b.to; });
    out->reserve(size + size / 8 + 64);
    size_t at = 0;
    std::string black = std::to_string(m_black);
    for (const Edit& edit : m_edits) {
      if (edit.from < at) return false;  // overlapping edits: not expected, so not trusted
      out->append(source, at, edit.from - at);
      out->append(edit.text);
      if (edit.black) out->append(black);
      at = edit.to;
    }
    out->append(source, at, size - at);
    return true;
  }

 private:
  // The byte of a character in a single-byte code page that reads back as
  // the character, or -1; each character is looked up once.
  int Encode(UINT cp, wchar_t c) {
    auto key = std::make_pair(cp, c);
    auto found = m_encoded.find(key);
    if (found != m_encoded.end()) return found->second;
    char byte[2];
    BOOL lost = FALSE;
    wchar_t back = 0;
    int result = -1;
    if (WideCharToMultiByte(cp, 0, &c, 1, byte, 2, nullptr, &lost) == 1 && !lost &&
        MultiByteToWideChar(cp, 0, byte, 1, &back, 1) == 1 && back == c)
      result = static_cast<unsigned char>(byte[0]);
    m_encoded.emplace(key, result);
    return result;
  }

  Edit Rewrite(wchar_t c, const Token& token) {
    Edit edit = {token.from, token.to, std::string(), false};
    if (token.kind != RtfCharToken::kUnicode) {
      // Written as a hex escape even when plain: a letter straight after a
      // control word would become part of it.
      int byte = c < 0x80 ? static_cast<int>(c) : token.codePage ? Encode(token.codePage, c) : -1;
      if (byte >= 0) {
        char hex[8];
        snprintf(hex, sizeof hex, "\\'%02x", byte);
        edit.text = hex;
        return edit;
      }
    }
    edit.text = "\\u" + std::to_string(static_cast<short>(c));
    // A word that stood for a byte needs a delimiter and its fallback.
    if (token.kind != RtfCharToken::kUnicode) edit.text += " " + std::string(static_cast<size_t>(token.skip), '?');
    return edit;
  }

  std::wstring m_text;
  std::vector<Token> m_tokens;
  std::vector<Edit> m_edits;
  std::map<std::pair<UINT, wchar_t>, int> m_encoded;
  int m_black = 1;
  size_t m_chars = 0;
  bool m_lastIsMark = false;
  bool m_unstyled = false;  // left to the control
};

}  // namespace

bool RtfChangeCaseFast(const char* rtf, size_t size, bool upper, std::string* out) {
  out->clear();
  CaseSink sink(size);
  if (!ReadRtf(rtf, size, sink)) return false;
  return sink.Write(rtf, size, upper, out);
}
