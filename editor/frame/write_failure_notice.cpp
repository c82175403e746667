#include "editor/frame/write_failure_notice.h"

#include <atomic>

#include "editor/doc/doc.h"
#include "editor/doc/phrase_view.h"
#include "editor/store/command.h"
#include "foundation/logging/log.h"
#include "foundation/system/sounds.h"
#include "foundation/system/trusted_messages.h"
#include "phrases/store/phrase_writer.h"

namespace {

std::atomic<HWND> g_frame(nullptr);
HandedOutObjects g_posted;  // paths on their way to the frame

// On the writing thread: only posting is safe here.
void PostFailure(const std::wstring& path, DWORD error) {
  HWND frame = g_frame.load();
  if (!frame) return;
  auto* copy = new std::wstring(path);
  g_posted.Hand(copy);
  if (!::PostMessageW(frame, kPhraseWriteFailedMessage, error, reinterpret_cast<LPARAM>(copy)) &&
      g_posted.TakeBack(copy))
    delete copy;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

std::wstring* TakePhraseWriteFailurePath(LPARAM lParam) {
  return g_posted.TakeBack(static_cast<std::uintptr_t>(lParam)) ? reinterpret_cast<std::wstring*>(lParam) : nullptr;
}

void WatchPhraseWriteFailures(HWND frame) {
  g_frame.store(frame);
  SetPhraseWriteFailureHandler(frame ? PostFailure : nullptr);
}

std::wstring HandlePhraseWriteFailure(CDocument* document, const std::wstring& path, DWORD error) {
  const std::wstring text = L"The phrase file could not be written: " + path;
  Log(PhraseWriteErrorText(error) + L" [" + path + L"]");
  PlayExclamationSound(true);
  CDoc* doc = document && document->IsKindOf(RUNTIME_CLASS(CDoc)) ? static_cast<CDoc*>(document) : nullptr;
  CQLRCommand* record = doc ? doc->CurrentRecord() : nullptr;
  if (record && SamePath(record->GetFilePath(), path)) {
    POSITION pos = doc->GetFirstViewPosition();
    CView* view = pos ? doc->GetNextView(pos) : nullptr;
    if (view && view->IsKindOf(RUNTIME_CLASS(CQLRView))) {
      CQLRView* phraseView = static_cast<CQLRView*>(view);
      if (phraseView->GetCurrentId() == doc->GetCurrentId())
        phraseView->GetTextCtrl().SendMessage(EM_SETMODIFY, TRUE, 0);
    }
  }
  return text;
}
