#include "editor/frame/write_failure_notice.h"

#include <atomic>
#include <mutex>

#include "editor/doc/doc.h"
#include "editor/doc/phrase_view.h"
#include "editor/store/command.h"
#include "foundation/logging/log.h"
#include "foundation/system/sounds.h"
#include "phrases/store/phrase_writer.h"

namespace {

std::atomic<HWND> g_frame(nullptr);
std::mutex g_lock;
std::vector<PhraseWriteFailure> g_queue;
size_t g_dropped = 0;

// On the writing thread: the failure is queued and the frame woken.
void PostFailure(const std::wstring& path, DWORD error) {
  HWND frame = g_frame.load();
  if (!frame) return;
  bool wake = false;
  {
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_queue.size() < kMaxQueuedWriteFailures) {
      // One wake-up per batch: the frame takes the whole queue.
      wake = g_queue.empty();
      g_queue.push_back(PhraseWriteFailure{path, error});
    } else {
      ++g_dropped;
    }
  }
  if (wake) ::PostMessageW(frame, kPhraseWriteFailedMessage, 0, 0);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

void WatchPhraseWriteFailures(HWND frame) {
  g_frame.store(frame);
  SetPhraseWriteFailureHandler(frame ? PostFailure : nullptr);
  if (!frame) {
    size_t dropped = 0;
    TakePhraseWriteFailures(&dropped);
  }
}

std::vector<PhraseWriteFailure> TakePhraseWriteFailures(size_t* dropped) {
  std::lock_guard<std::mutex> hold(g_lock);
  std::vector<PhraseWriteFailure> taken;
  taken.swap(g_queue);
  if (dropped) *dropped = g_dropped;
  g_dropped = 0;
  return taken;
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
    // The phrase view shows the document's current record.
    if (view && view->IsKindOf(RUNTIME_CLASS(CQLRView)))
      static_cast<CQLRView*>(view)->GetTextCtrl().SendMessage(EM_SETMODIFY, TRUE, 0);
  }
  return text;
}
