// The interchange between the tray program and the core hook library: the
// shared area and its two events, the reading of a query and the writing of
// an answer, and the selection fetch through the clipboard.
#pragma once
#include <windows.h>

#include <string>

#include "foundation/system/handles.h"
#include "foundation/system/shared_records.h"
#include "settings/shared_memory.h"

constexpr DWORD kInterchangeAreaSize = 2252800;
// The longest query text the tray reads, in bytes without the terminator.
constexpr size_t kMaxQueryTextBytes = 409600;

// The area "Local\$QUILLORA_INTERCHANGE_AREA$" and the events
// "Local\Quillora_DataNeeded" and "Local\Quillora_DataCompleted" (manual
// reset, not signalled), made (or opened) with everyone-access security.
class CInterchangeObjects {
 public:
  // All three or none: a failure closes what was made.
  bool Create();
  void Close();
  bool IsOpen() const { return m_mapping.IsValid(); }
  HANDLE Mapping() const { return m_mapping.Get(); }
  HANDLE DataNeeded() const { return m_dataNeeded.Get(); }
  HANDLE DataCompleted() const { return m_dataCompleted.Get(); }

 private:
  UniqueHandle m_mapping;
  UniqueHandle m_dataNeeded;
  UniqueHandle m_dataCompleted;
};

// Reads the NUL-terminated text in the area (never past the mapping or
// kMaxQueryTextBytes) and parses it into query.
bool ReadQueryFromArea(CQueryRecord& query, const std::wstring& areaName);
// The same from a view of the area that the caller keeps.
bool ReadQueryFromArea(CQueryRecord& query, const SharedView& view);
// Writes the answer's LRAnswer text with its NUL into the area; false when
// the answer is empty, the area is missing or too small.
bool WriteAnswerToArea(const CAnswerRecord& answer, const std::wstring& areaName);

// Keeps the coming copy out of the clipboard history: the tray window hands
// in the clipboard handler's asynchronous block. Null: nothing to block.
using ClipboardCaptureBlocker = void (*)(HWND trayWnd);
void SetClipboardCaptureBlocker(ClipboardCaptureBlocker blocker);

// The target's selection, copied with Ctrl+C and WM_COPY. The user's
// clipboard is put back right afterwards.
std::wstring GetSelectedTextByCopy(HWND target, HWND trayWnd);
