// Records whose layout is shared between modules and processes. Each layout
// is fixed: sizes and offsets are checked below for the 32- and 64-bit
// builds, so a change that would break a peer fails to compile.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One entry of the phrase menu in the form the core hook library receives
// (as the LRAnswer document); every phrase node begins with one. A record
// owns its children; a group is a record whose children pointer is set.
// Records move (the children go with them) and are never copied.
struct CMenuRecord {
  static constexpr int kCaptionChars = 121;   // with the terminator
  static constexpr int kTooltipChars = 1025;  // with the terminator

  std::vector<CMenuRecord>* children;
  wchar_t caption[kCaptionChars];
  wchar_t tooltip[kTooltipChars];
  std::uint32_t DataType;
  std::uint32_t Flags;  // bit 0 of a group: the default group
  std::uint32_t CMDID;  // 0 for a separator
  std::uint32_t LCID;

  CMenuRecord() : children(nullptr), caption{}, tooltip{}, DataType(0), Flags(0), CMDID(0), LCID(0) {}
  ~CMenuRecord() { FreeChildren(true); }

  CMenuRecord(CMenuRecord&& other) noexcept : children(nullptr) { TakeFrom(other); }
  CMenuRecord& operator=(CMenuRecord&& other) noexcept {
    if (this != &other) {
      FreeChildren(true);
      TakeFrom(other);
    }
    return *this;
  }
  CMenuRecord(const CMenuRecord&) = delete;
  CMenuRecord& operator=(const CMenuRecord&) = delete;

  bool IsGroup() const { return children != nullptr; }

  // The children, or one shared empty list for a plain command.
  const std::vector<CMenuRecord>& GetChildren() const {
    static const std::vector<CMenuRecord> kNone;
    return children ? *children : kNone;
  }

  // Destroys the children and their list; clearPointer forgets the list too
  // (otherwise the caller is about to overwrite the pointer).
  void FreeChildren(bool clearPointer) {
    delete children;
    if (clearPointer) children = nullptr;
  }

  // Copies at most maxChars characters (and never more than the field holds)
  // and terminates. A surrogate pair is never split at the cut.
  static void CopyText(wchar_t* field, int fieldChars, const wchar_t* text, size_t textChars,
                       size_t maxChars) {
    size_t n = textChars;
    if (n > maxChars) n = maxChars;
    if (n > static_cast<size_t>(fieldChars - 1)) n = fieldChars - 1;
    if (n < textChars && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    for (size_t i = 0; i < n; ++i) field[i] = text[i];
    field[n] = L'\0';
  }

 protected:
  // Moves the menu fields; the caller has released this record's children.
  void TakeFrom(CMenuRecord& other) {
    children = other.children;
    other.children = nullptr;
    for (int i = 0; i < kCaptionChars; ++i) caption[i] = other.caption[i];
    for (int i = 0; i < kTooltipChars; ++i) tooltip[i] = other.tooltip[i];
    DataType = other.DataType;
    Flags = other.Flags;
    CMDID = other.CMDID;
    LCID = other.LCID;
  }
};

static_assert(offsetof(CMenuRecord, caption) == sizeof(void*), "CMenuRecord layout");
static_assert(offsetof(CMenuRecord, tooltip) == sizeof(void*) + 2 * 121, "CMenuRecord layout");
static_assert(offsetof(CMenuRecord, DataType) == sizeof(void*) + 2 * (121 + 1025), "CMenuRecord layout");
static_assert(offsetof(CMenuRecord, LCID) == sizeof(void*) + 2 * (121 + 1025) + 12, "CMenuRecord layout");
static_assert(sizeof(CMenuRecord) == (sizeof(void*) == 4 ? 2312 : 2320), "CMenuRecord size");
