#include "foundation/ui/rtf_reader.h"

#include <cstring>
#include <map>
#include <vector>

namespace {

// Deeper groups are flattened before the control reads them, and long font
// names are cut: such input takes the control's road.
constexpr int kMaxDepth = 30;
constexpr size_t kMaxFontName = 31;
constexpr size_t kMaxWord = 32;
constexpr int kMaxUnicodeSkip = 8;
constexpr int kNoFont = -2;
// The font table is a group of the document's group.
constexpr size_t kFontTableDepth = 2;
// Positions are kept in 32 bits.
constexpr size_t kMaxSize = size_t(1) << 30;

enum class Dest { kBody, kFontTable, kColorTable, kSkip };

struct Group {
  Dest dest;
  int font;  // -1: the document's default font
  int uc;
  bool sized;  // a font size was given
};

struct Word {
  char name[kMaxWord + 1];
  bool hasParam;
  long param;
  size_t from, to;  // without the delimiter
};

// Words of the body that change no text and that the reader may pass by.
const char* const kNeutralWords[] = {"ansi",  "deflang",    "deflangfe", "deftab",   "viewkind", "nouicompat", "pard",
                                     "lang",  "langfe",     "langnp",    "langfenp", "li",       "ri",         "fi",
                                     "sa",    "sb",         "sl",        "slmult",   "qc",       "ql",         "qr",
                                     "qj",    "tx",         "ltrpar",    "ltrch",    "sectd",    "widowctrl",  "sub",
                                     "super", "nosupersub", "up",        "dn",       "htmautsp"};

// Words of a font table entry besides its number and character set.
const char* const kFontWords[] = {"fnil", "froman", "fswiss", "fmodern", "fscript", "fdecor", "ftech", "fbidi", "fprq"};

// Destinations whose contents are never text. A "\\*" group is skipped by
// the control only when it does not know the word that follows, so only
// these are skipped here.
const char* const kSkippedDestinations[] = {"stylesheet", "info"};
const char* const kSkippedStarred[] = {"generator", "bkmkstart", "bkmkend", "userprops", "xmlnstbl", "rsidtbl"};

bool In(const char* word, const char* const* list, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (strcmp(word, list[i]) == 0) return true;
  return false;
}

bool IsEmphasis(const char* w) {
  return !strcmp(w, "b") || !strcmp(w, "i") || !strcmp(w, "ul") || !strcmp(w, "ulnone") || !strcmp(w, "strike") ||
         !strcmp(w, "cf") || !strcmp(w, "protect");
}

struct Special {
  const char* word;
  wchar_t c;
};
const Special kSpecials[] = {{"par", L'\r'},        {"line", L'\v'},      {"tab", L'\t'},     {"emdash", 0x2014},
                             {"endash", 0x2013},    {"bullet", 0x2022},   {"lquote", 0x2018}, {"rquote", 0x2019},
                             {"ldblquote", 0x201C}, {"rdblquote", 0x201D}};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The code page of a single-byte character set; 0 for sets this reader
// does not decode (symbol, OEM, double-byte).
UINT SingleByteCodePage(UINT cp) {
  CPINFO info;
  if (cp == 0 || !GetCPInfo(cp, &info) || info.MaxCharSize != 1) return 0;
  return cp;
}

class Reader {
 public:
  Reader(const char* rtf, size_t size, RtfSink& sink) : m_rtf(rtf), m_size(size), m_sink(sink) {}

  bool Read() {
    if (m_size < 6 || memcmp(m_rtf, "{\\rtf1", 6) != 0) return false;
    m_at = 1;
    Word word;
    if (!ReadWord(&word) || strcmp(word.name, "rtf") || word.param != 1) return false;
    m_tableAt = word.to;
    m_stack.push_back({Dest::kBody, -1, 1, false});
    while (!m_stack.empty()) {
      if (m_at >= m_size) return false;  // truncated
      if (!Step()) return false;
    }
    // Anything but line ends after the last brace is more than we know.
    for (; m_at < m_size; ++m_at)
      if (m_rtf[m_at] != '\r' && m_rtf[m_at] != '\n') return false;
    if (!m_sawColorTable) m_sink.ColorTable(m_tableAt, -1);
    return true;
  }

 private:
  Group& Top() { return m_stack.back(); }

  bool Step() {
    char c = m_rtf[m_at];
    if (c == '{') return OpenGroup();
    if (c == '}') {
      ++m_at;
      Dest was = Top().dest;
      m_stack.pop_back();
      if (was == Dest::kColorTable) {
        if (m_colorText) return false;  // an entry without its semicolon
        m_sink.ColorTable(m_at - 1, m_colors);
      }
      m_skipLeft = 0;
      return true;
    }
    if (c == '\r' || c == '\n') {
      ++m_at;
      return true;
    }
    switch (Top().dest) {
      case Dest::kBody:
        return BodyToken();
      case Dest::kFontTable:
        return FontTableToken();
      case Dest::kColorTable:
        return ColorTableToken();
      case Dest::kSkip:
        return SkipToken();
    }
    return false;
  }

  bool OpenGroup() {
    if (static_cast<int>(m_stack.size()) >= kMaxDepth) return false;
    Group group = Top();
    ++m_at;
    if (m_skipLeft > 0 || group.dest == Dest::kColorTable) return false;
    if (group.dest == Dest::kSkip) {
      m_stack.push_back(group);
      return true;
    }
    if (group.dest == Dest::kFontTable) {
      // Only entries, each a group of its own, are read here.
      if (m_stack.size() != kFontTableDepth) return false;
      m_fontName = 0;
      m_fontIndex = -1;
      m_fontEnded = false;
      m_stack.push_back(group);
      return true;
    }
    // A destination is named by the group's first word.
    if (m_at + 1 < m_size && m_rtf[m_at] == '\\' && m_rtf[m_at + 1] == '*') {
      size_t back = m_at;
      m_at += 2;
      while (m_at < m_size && (m_rtf[m_at] == '\r' || m_rtf[m_at] == '\n')) ++m_at;
      Word word;
      if (!ReadWord(&word) || !In(word.name, kSkippedStarred, sizeof kSkippedStarred / sizeof *kSkippedStarred))
        return false;
      m_at = back;
      group.dest = Dest::kSkip;
    } else if (m_at + 1 < m_size && m_rtf[m_at] == '\\' && IsLetter(m_rtf[m_at + 1])) {
      size_t back = m_at;
      Word word;
      if (!ReadWord(&word)) return false;
      size_t after = m_at;
      m_at = back;  // the body reads it again
      if (!strcmp(word.name, "fonttbl") || !strcmp(word.name, "colortbl")) {
        bool fonts = word.name[0] == 'f';
        if (m_stack.size() != 1 || m_sawText || (fonts ? m_sawFontTable : m_sawColorTable)) return false;
        (fonts ? m_sawFontTable : m_sawColorTable) = true;
        group.dest = fonts ? Dest::kFontTable : Dest::kColorTable;
        m_at = after;
      } else if (In(word.name, kSkippedDestinations, sizeof kSkippedDestinations / sizeof *kSkippedDestinations)) {
        group.dest = Dest::kSkip;
      }
    }
    m_stack.push_back(group);
    return true;
  }

  // Reads a control word at m_at (a backslash and letters); false for a
  // control symbol or a malformed word.
  bool ReadWord(Word* word) {
    if (m_at >= m_size || m_rtf[m_at] != '\\') return false;
    word->from = m_at++;
    size_t n = 0;
    while (m_at < m_size && IsLetter(m_rtf[m_at])) {
      if (n == kMaxWord) return false;
      word->name[n++] = m_rtf[m_at++];
    }
    word->name[n] = 0;
    if (n == 0) return false;
    word->hasParam = false;
    word->param = 0;
    bool negative = m_at < m_size && m_rtf[m_at] == '-';
    if (negative) ++m_at;
    int digits = 0;
    while (m_at < m_size && IsDigit(m_rtf[m_at])) {
      if (++digits > 9) return false;
      word->param = word->param * 10 + (m_rtf[m_at++] - '0');
    }
    if (negative && digits == 0) return false;
    word->hasParam = digits > 0;
    if (negative) word->param = -word->param;
    word->to = m_at;
    if (m_at < m_size && m_rtf[m_at] == ' ') ++m_at;
    return true;
  }

  struct FontUse {
    UINT cp;  // 0: text in it is left to the control
    bool inTable;
  };

  // The font in effect, remembered for the last font asked: the font table
  // is complete before the first character.
  FontUse CurrentFont() {
    int font = Top().font == -1 ? m_defaultFont : Top().font;
    if (font != m_cachedFont) {
      m_cachedFont = font;
      m_cachedUse = font == kNoFont ? FontUse{0, false} : FontUse{CodePage(font), m_charsets.count(font) > 0};
    }
    return m_cachedUse;
  }

  // A byte above 0x7F in a single-byte code page; each byte is decoded once.
  bool Decode(UINT cp, unsigned char b, wchar_t* out) {
    DecodeTable* table = nullptr;
    for (DecodeTable& t : m_tables)
      if (t.cp == cp) table = &t;
    if (!table) {
      m_tables.push_back(DecodeTable{cp, {}, {}});
      table = &m_tables.back();
    }
    unsigned char& state = table->state[b - 0x80];
    if (state == 0) {
      char in = static_cast<char>(b);
      state = MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, &in, 1, &table->chars[b - 0x80], 1) == 1 ? 1 : 2;
    }
    *out = table->chars[b - 0x80];
    return state == 1;
  }

  UINT CodePage(int font) {
    // A font of the table without a character set is read as Western,
    // whatever code page the document names. Without a font table, text is
    // read in the document's code page; a font missing from the table is
    // left to the control.
    auto found = m_charsets.find(font);
    if (found == m_charsets.end()) return m_sawFontTable ? 0 : SingleByteCodePage(m_ansiCodePage);
    int charset = found->second;
    if (charset < 0 || charset == DEFAULT_CHARSET || charset == ANSI_CHARSET) return 1252;
    CHARSETINFO info;
    if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<ULONG_PTR>(charset)), &info, TCI_SRCCHARSET))
      return 0;
    return SingleByteCodePage(info.ciACP);
  }

  bool Emit(wchar_t c, RtfCharToken::Kind kind, size_t from, size_t to) {
    // Control characters other than the ones words stand for are the
    // control's business, and so is text in symbol and multi-byte fonts.
    if (c < 0x20 && kind != RtfCharToken::kSpecial) return false;
    FontUse use = CurrentFont();
    if (use.cp == 0) return false;
    m_sawText = true;
    m_sink.Char(c, RtfCharToken{kind, from, to, use.cp, Top().uc, Top().sized && use.inTable});
    return true;
  }

  bool Byte(unsigned char b, RtfCharToken::Kind kind, size_t from, size_t to) {
    if (b < 0x80) return Emit(static_cast<wchar_t>(b), kind, from, to);
    UINT cp = CurrentFont().cp;
    wchar_t out = 0;
    if (cp == 0 || !Decode(cp, b, &out)) return false;
    return Emit(out, kind, from, to);
  }

  // A \u word's fallback: skipped characters, a hex escape counting one.
  bool Skipped() {
    char c = m_rtf[m_at];
    if (c == '\\') {
      if (m_at + 3 < m_size && m_rtf[m_at + 1] == '\'' && HexValue(m_rtf[m_at + 2]) >= 0 &&
          HexValue(m_rtf[m_at + 3]) >= 0) {
        m_at += 4;
        --m_skipLeft;
        return true;
      }
      return false;
    }
    if (static_cast<unsigned char>(c) >= 0x80 || c < 0x20) return false;
    ++m_at;
    --m_skipLeft;
    return true;
  }

  bool BodyToken() {
    if (m_skipLeft > 0) return Skipped();
    char c = m_rtf[m_at];
    if (c != '\\') {
      // Bytes above 0x7F are read differently by different controls.
      if (static_cast<unsigned char>(c) >= 0x80) return false;
      size_t from = m_at++;
      return Emit(static_cast<wchar_t>(c), RtfCharToken::kRaw, from, m_at);
    }
    if (m_at + 1 >= m_size) return false;
    char next = m_rtf[m_at + 1];
    if (!IsLetter(next)) return Symbol(next);
    Word word;
    if (!ReadWord(&word)) return false;
    return BodyWord(word);
  }

  bool Symbol(char next) {
    size_t from = m_at;
    switch (next) {
      case '\\':
      case '{':
      case '}':
        m_at += 2;
        return Emit(static_cast<wchar_t>(next), RtfCharToken::kSpecial, from, m_at);
      case '~':
        m_at += 2;
        return Emit(0x00A0, RtfCharToken::kSpecial, from, m_at);
      case '_':
        m_at += 2;
        return Emit(0x2011, RtfCharToken::kSpecial, from, m_at);
      case '\'': {
        if (m_at + 3 >= m_size) return false;
        int high = HexValue(m_rtf[m_at + 2]), low = HexValue(m_rtf[m_at + 3]);
        if (high < 0 || low < 0) return false;
        m_at += 4;
        return Byte(static_cast<unsigned char>(high * 16 + low), RtfCharToken::kHex, from, m_at);
      }
      default:
        return false;
    }
  }

  bool BodyWord(const Word& word) {
    const char* w = word.name;
    for (const Special& s : kSpecials)
      if (!strcmp(w, s.word)) return !word.hasParam && Emit(s.c, RtfCharToken::kSpecial, word.from, word.to);
    if (!strcmp(w, "u")) {
      if (!word.hasParam || word.param < -32768 || word.param > 65535) return false;
      wchar_t c = static_cast<wchar_t>(static_cast<unsigned short>(word.param));
      if (!Emit(c, RtfCharToken::kUnicode, word.from, word.to)) return false;
      m_skipLeft = Top().uc;
      return true;
    }
    if (!strcmp(w, "f")) {
      if (!word.hasParam) return false;
      Top().font = static_cast<int>(word.param);
      return true;
    }
    if (!strcmp(w, "uc")) {
      if (!word.hasParam || word.param < 0 || word.param > kMaxUnicodeSkip) return false;
      Top().uc = static_cast<int>(word.param);
      return true;
    }
    if (!strcmp(w, "fs")) {
      if (!word.hasParam) return false;
      Top().sized = true;
      return true;
    }
    if (!strcmp(w, "plain")) {
      if (word.hasParam) return false;
      // The control's own default font, not the document's, until a \f.
      Top().font = kNoFont;
      Top().sized = false;
      m_sink.PlainReset(word.to);
      return true;
    }
    if (IsEmphasis(w)) {
      m_sink.Emphasis(word.from, word.to, w);
      return true;
    }
    if (!strcmp(w, "ansicpg") || !strcmp(w, "deff")) {
      if (!word.hasParam || m_sawText || m_stack.size() != 1) return false;
      if (w[0] == 'a')
        m_ansiCodePage = static_cast<UINT>(word.param);
      else
        m_defaultFont = static_cast<int>(word.param);
      return true;
    }
    return In(w, kNeutralWords, sizeof kNeutralWords / sizeof *kNeutralWords);
  }

  bool FontTableToken() {
    // Nothing outside an entry, nor after the semicolon that ends one: the
    // control reads what follows as text.
    if (m_stack.size() == kFontTableDepth || m_fontEnded) return false;
    char c = m_rtf[m_at];
    if (c == ';') {
      ++m_at;
      m_fontEnded = true;
      return true;
    }
    if (c != '\\') {
      ++m_at;
      return ++m_fontName <= kMaxFontName;
    }
    if (m_at + 1 < m_size && !IsLetter(m_rtf[m_at + 1])) {
      // Escaped characters in names are left to the control.
      return false;
    }
    Word word;
    if (!ReadWord(&word)) return false;
    if (!strcmp(word.name, "f") && word.hasParam && word.param >= 0) {
      // One number for each entry, and each number once.
      if (m_fontIndex >= 0 || m_charsets.count(static_cast<int>(word.param))) return false;
      m_fontIndex = static_cast<int>(word.param);
      m_charsets.emplace(m_fontIndex, -1);
      return true;
    }
    if (!strcmp(word.name, "fcharset") && word.hasParam) {
      if (m_fontIndex < 0) return false;  // a set without its font
      m_charsets[m_fontIndex] = static_cast<int>(word.param);
      return true;
    }
    return In(word.name, kFontWords, sizeof kFontWords / sizeof *kFontWords);
  }

  bool ColorTableToken() {
    char c = m_rtf[m_at];
    if (c == ';') {
      ++m_at;
      ++m_colors;
      m_colorText = false;
      return true;
    }
    if (c != '\\') return false;
    Word word;
    if (!ReadWord(&word)) return false;
    if (strcmp(word.name, "red") && strcmp(word.name, "green") && strcmp(word.name, "blue")) return false;
    m_colorText = true;
    return true;
  }

  bool SkipToken() {
    if (m_rtf[m_at] == '\\') {
      if (m_at + 1 >= m_size) return false;
      // A broken hex escape makes the control refuse the whole RTF.
      if (m_rtf[m_at + 1] == '\'') {
        if (m_at + 3 >= m_size || HexValue(m_rtf[m_at + 2]) < 0 || HexValue(m_rtf[m_at + 3]) < 0) return false;
        m_at += 4;
        return true;
      }
      if (IsLetter(m_rtf[m_at + 1])) {
        Word word;
        if (!ReadWord(&word)) return false;
        return strcmp(word.name, "bin") != 0;  // binary data is not scanned
      }
      m_at += 2;
      return true;
    }
    ++m_at;
    return true;
  }

  const char* m_rtf;
  size_t m_size;
  RtfSink& m_sink;
  size_t m_at = 0;
  std::vector<Group> m_stack;
  std::map<int, int> m_charsets;  // font index -> character set
  struct DecodeTable {
    UINT cp;
    wchar_t chars[128];
    unsigned char state[128];  // 0 not decoded yet, 1 a character, 2 none
  };
  std::vector<DecodeTable> m_tables;
  int m_cachedFont = kNoFont - 1;
  FontUse m_cachedUse = {0, false};
  int m_fontIndex = 0;
  size_t m_fontName = 0;
  bool m_fontEnded = false;
  UINT m_ansiCodePage = 1252;
  int m_defaultFont = 0;
  int m_skipLeft = 0;
  int m_colors = 0;
  bool m_colorText = false;
  bool m_sawText = false;
  bool m_sawFontTable = false;
  bool m_sawColorTable = false;
  size_t m_tableAt = 0;
};

class PlainTextSink : public RtfSink {
 public:
  explicit PlainTextSink(std::wstring* out) : m_out(out) {}
  void Char(wchar_t c, const RtfCharToken&) override {
    // The control gives a line break inside a paragraph as a blank.
    if (c == L'\r')
      m_out->append(L"\r\n");
    else
      m_out->push_back(c == L'\v' ? L' ' : c);
  }

 private:
  std::wstring* m_out;
};

}  // namespace

bool ReadRtf(const char* rtf, size_t size, RtfSink& sink) {
  if (!rtf || size > kMaxSize) return false;
  Reader reader(rtf, size, sink);
  return reader.Read();
}

bool RtfPlainTextFast(const char* rtf, size_t size, std::wstring* plain) {
  plain->clear();
  plain->reserve(size / 2);
  PlainTextSink sink(plain);
  if (!ReadRtf(rtf, size, sink)) return false;
  // The control reads a last paragraph mark as the one every text ends in,
  // which is not part of the text.
  if (plain->size() >= 2 && plain->compare(plain->size() - 2, 2, L"\r\n") == 0) plain->resize(plain->size() - 2);
  return true;
}
