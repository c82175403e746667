// Records whose layout is shared between modules and processes. Each layout
// is fixed: sizes and offsets are checked below for the 32- and 64-bit
// builds, so a change that would break a peer fails to compile.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
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

// What the tray program hands the core hook library's LR_Install. Packed:
// the gesture flag follows the 16-bit atom without alignment. The strings
// belong to the caller; the library copies what it keeps. The library
// writes its result code into resultCode.
#pragma pack(push, 1)
struct LRInstallRecord {
  HWND trayWindow;
  UINT notifyMessage;
  std::uint32_t reserved1;
  const wchar_t* queryEventName;
  const wchar_t* answerEventName;
  const wchar_t* areaName;
  const wchar_t* logPath;  // null when logging is off
  std::int32_t resultCode;
  std::uint32_t reserved2;
  std::uint16_t logAtom;  // 0 when no log is open
  BOOL gestureMode;
};
#pragma pack(pop)

static_assert(offsetof(LRInstallRecord, notifyMessage) == sizeof(void*), "LRInstallRecord layout");
static_assert(offsetof(LRInstallRecord, queryEventName) == sizeof(void*) + 8, "LRInstallRecord layout");
static_assert(offsetof(LRInstallRecord, resultCode) == 5 * sizeof(void*) + 8, "LRInstallRecord layout");
static_assert(offsetof(LRInstallRecord, logAtom) == 5 * sizeof(void*) + 16, "LRInstallRecord layout");
static_assert(offsetof(LRInstallRecord, gestureMode) == 5 * sizeof(void*) + 18, "LRInstallRecord layout");
static_assert(sizeof(void*) != 4 || sizeof(LRInstallRecord) == 42, "LRInstallRecord size");

// Result codes of LR_Install (and of the tray side before the call).
enum LRInstallResult : std::int32_t {
  kLRSuccess = 0,
  kLRInvalidNames = 1,
  kLRAlreadyInstalled = 2,
  kLRCannotHook = 3,
  kLRCannotLoad = 4,
  kLRNoInstallExport = 5,
  kLRNoServiceEvent = 7,
};

// The state of the target window for one menu request, filled from the
// library's LRQuery document or by the tray program itself.
struct CQueryRecord {
  enum SelState : std::int32_t { kNoSelection = 0, kSelectionUnknown = 1, kSelectionExtracted = 2 };

  std::wstring AppPath;
  std::wstring WindowClassName;
  HWND hwnd = nullptr;
  GUITHREADINFO guiInfo;  // of the building thread until the query says otherwise
  std::uint32_t hkl = 0;
  std::wstring SelText;
  std::int32_t StateSelText = kNoSelection;
  std::int32_t POINT_X = -1;
  std::int32_t POINT_Y = -1;

  CQueryRecord() : guiInfo() {
    guiInfo.cbSize = sizeof(guiInfo);
    GetGUIThreadInfo(GetCurrentThreadId(), &guiInfo);
  }
};

// The answer to one request: the menu the library is to show.
struct CAnswerRecord {
  std::vector<CMenuRecord> items;
  std::int32_t MenuPerColumn = -1;
  BOOL Sound = FALSE;
  BOOL ShowToolTips = TRUE;
  BOOL ForegroundTopMostWnd = FALSE;
};
