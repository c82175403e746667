#include "phrases/store/phrase_load_cache.h"

#include <cstring>

#include "foundation/files/files.h"
#include "phrases/store/phrase_writer.h"

namespace {

constexpr char kMagic[] = "QLRPHRASES-2";
constexpr size_t kSumBytes = 8;
constexpr unsigned long long kRacyWindow = 2ull * 10000000;  // 2 s in FILETIME units

// A record damaged on disk must not hand out texts the files never held:
// its body carries a sum (FNV-1a, 64 bits) at its end.
unsigned long long SumOf(const char* data, size_t size) {
  unsigned long long sum = 14695981039346656037ull;
  for (size_t i = 0; i < size; ++i) {
    sum ^= static_cast<unsigned char>(data[i]);
    sum *= 1099511628211ull;
  }
  return sum;
}

void PutU64(std::string& out, unsigned long long v) { out.append(reinterpret_cast<const char*>(&v), 8); }
void PutU32(std::string& out, std::uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }
void PutText(std::string& out, const std::wstring& text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  out.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// Reads fields back with every length checked against what is left.
class Reader {
 public:
  Reader(const char* data, size_t size) : m_p(data), m_end(data + size) {}
  bool U64(unsigned long long* v) { return Raw(v, 8); }
  bool U32(std::uint32_t* v) { return Raw(v, 4); }
  bool Text(std::wstring* text) {
    std::uint32_t n = 0;
    if (!U32(&n) || n > static_cast<size_t>(m_end - m_p) / sizeof(wchar_t)) return false;
    text->assign(reinterpret_cast<const wchar_t*>(m_p), n);
    m_p += n * sizeof(wchar_t);
    return true;
  }
  bool Raw(void* out, size_t n) {
    if (static_cast<size_t>(m_end - m_p) < n) return false;
    std::memcpy(out, m_p, n);
    m_p += n;
    return true;
  }
  const char* Position() const { return m_p; }
  bool AtEnd() const { return m_p == m_end; }

 private:
  const char* m_p;
  const char* m_end;
};

void PutRecord(std::string& out, const PhraseFileStamp& stamp, const CPhraseNode& r, bool read) {
  PutU64(out, stamp.size);
  PutU64(out, stamp.created);
  PutU64(out, stamp.written);
  PutU32(out, read ? 1 : 0);
  PutText(out, r.caption);
  PutText(out, r.tooltip);
  PutText(out, r.data);
  PutU32(out, r.DataType);
  PutU32(out, r.sortId);
  PutU32(out, r.flagsMenu);
  PutU32(out, static_cast<std::uint32_t>(r.usageCount));
  out.append(reinterpret_cast<const char*>(&r.lastUse), sizeof(SYSTEMTIME));
  PutU32(out, (r.enabled ? 1 : 0) | (r.disabledIsNoHasSelection ? 2 : 0) | (r.useTitleOnly ? 4 : 0));
}

bool GetRecord(Reader& in, PhraseFileStamp* stamp, CPhraseNode* r, bool* read) {
  std::uint32_t readFlag = 0, usage = 0, bits = 0;
  std::wstring caption, hint;
  SYSTEMTIME lastUse;
  if (!in.U64(&stamp->size) || !in.U64(&stamp->created) || !in.U64(&stamp->written) ||
      !in.U32(&readFlag) || !in.Text(&caption) || !in.Text(&hint) || !in.Text(&r->data) ||
      !in.U32(&r->DataType) || !in.U32(&r->sortId) || !in.U32(&r->flagsMenu) || !in.U32(&usage) ||
      !in.Raw(&lastUse, sizeof(lastUse)) || !in.U32(&bits))
    return false;
  *read = readFlag != 0;
  r->SetCaption(caption, kPhraseCaptionMax);
  r->SetHint(hint, kPhraseHintMax);
  r->usageCount = static_cast<std::int32_t>(usage);
  r->lastUse = lastUse;
  r->enabled = (bits & 1) != 0;
  r->disabledIsNoHasSelection = (bits & 2) != 0;
  r->useTitleOnly = (bits & 4) != 0;
  return true;
}

}  // namespace

void PhraseLoadCache::Open(const std::wstring& rootFolder) {
  m_root = rootFolder;
  m_old.clear();
  m_new.clear();
  m_newCount = 0;
  m_hits = 0;
  m_changed = false;
  size_t size = 0;
  std::unique_ptr<char[]> data = ReadFileToBuffer(m_path, &size);
  if (!data || size < sizeof(kMagic) + kSumBytes || std::memcmp(data.get(), kMagic, sizeof(kMagic)) != 0) return;
  const size_t body = size - sizeof(kMagic) - kSumBytes;
  unsigned long long stored = 0;
  std::memcpy(&stored, data.get() + sizeof(kMagic) + body, kSumBytes);
  if (stored != SumOf(data.get() + sizeof(kMagic), body)) return;
  Reader in(data.get() + sizeof(kMagic), body);
  std::wstring root;
  std::uint32_t count = 0;
  if (!in.Text(&root) || root != rootFolder || !in.U32(&count)) return;
  std::unordered_map<std::wstring, std::string> entries;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::wstring path;
    if (!in.Text(&path)) return;
    const char* start = in.Position();
    PhraseFileStamp stamp;
    CPhraseNode probe;
    bool read = false;
    if (!GetRecord(in, &stamp, &probe, &read)) return;  // damaged: use nothing of it
    entries[path].assign(start, in.Position());
  }
  if (in.AtEnd()) m_old.swap(entries);
}

bool PhraseLoadCache::Lookup(const std::wstring& path, const PhraseFileStamp& stamp,
                             CPhraseNode* record, bool* read) const {
  auto it = m_old.find(path);
  if (it == m_old.end()) return false;
  Reader in(it->second.data(), it->second.size());
  PhraseFileStamp kept;
  CPhraseNode cached;
  bool cachedRead = false;
  if (!GetRecord(in, &kept, &cached, &cachedRead) || !(kept == stamp)) return false;
  // A folder's record node already carries its children list; keep it.
  std::vector<CPhraseNode>* children = record->childNodes;
  record->childNodes = nullptr;
  *record = std::move(cached);
  record->childNodes = children;
  *read = cachedRead;
  ++m_hits;
  return true;
}

void PhraseLoadCache::Keep(const std::wstring& path, const PhraseFileStamp& stamp,
                           const CPhraseNode& record, bool read) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  unsigned long long nowTicks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  if (stamp.written + kRacyWindow > nowTicks) {
    m_changed = true;  // too fresh to trust next time
    return;
  }
  std::string fields;
  PutRecord(fields, stamp, record, read);
  auto it = m_old.find(path);
  if (it == m_old.end() || it->second != fields) m_changed = true;
  PutText(m_new, path);
  m_new += fields;
  ++m_newCount;
}

bool PhraseLoadCache::Save() {
  if (!m_changed && m_newCount == m_old.size()) return true;  // nothing new to remember
  std::string bytes(kMagic, sizeof(kMagic));
  PutText(bytes, m_root);
  PutU32(bytes, static_cast<std::uint32_t>(m_newCount));
  bytes += m_new;
  PutU64(bytes, SumOf(bytes.data() + sizeof(kMagic), bytes.size() - sizeof(kMagic)));
  return QueuePhraseBytes(m_path, std::move(bytes));
}
