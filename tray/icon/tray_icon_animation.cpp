#include "tray/icon/tray_icon_animation.h"

#include <shellapi.h>

#include "foundation/ui/icons.h"

namespace {

constexpr int kFrameSize = 16;
// The worker gets this long to finish a step (a shell call and a send to
// the window) once stopped.
constexpr DWORD kWorkerEndWaitMs = 5000;

HIMAGELIST BuildFrames(HICON base) {
  HIMAGELIST list = ImageList_Create(kFrameSize, kFrameSize, ILC_COLOR32 | ILC_MASK, 4, 1);
  if (!list) return nullptr;
  ImageList_SetBkColor(list, GetSysColor(COLOR_WINDOW));
  // 90, 180 and 270 degrees, then the base icon itself as the last frame.
  UniqueIcon turned;
  for (int i = 0; i < 3; ++i) {
    UniqueIcon next(CreateRotatedIcon(turned ? turned.Get() : base));
    if (next) ImageList_AddIcon(list, next.Get());
    turned = std::move(next);
  }
  ImageList_AddIcon(list, base);
  return list;
}

}  // namespace

CTrayIconAnimation::CTrayIconAnimation() {
  m_record.intervalMs = 250;
  m_wakeEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

CTrayIconAnimation::~CTrayIconAnimation() {
  Stop();
  WaitForWorker();
}

bool CTrayIconAnimation::Start(const TrayIconAnimationRecord& record) {
  if (IsRunning()) return false;
  // A worker of an earlier run may still be finishing its last step.
  WaitForWorker();
  m_savedBig = reinterpret_cast<HICON>(
      SendMessageW(record.window, WM_GETICON, ICON_BIG, 0));
  m_savedSmall = reinterpret_cast<HICON>(
      SendMessageW(record.window, WM_GETICON, ICON_SMALL, 0));
  m_record = record;
  HIMAGELIST frames = BuildFrames(record.baseIcon);
  if (!frames) return false;
  m_frameCount = ImageList_GetImageCount(frames);
  m_frameIndex = 0;
  ResetEvent(m_wakeEvent.Get());
  m_workerFrames = frames;
  m_frames = frames;
  m_thread.Reset(CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr));
  if (!m_thread) {
    m_frames = nullptr;
    ImageList_Destroy(frames);
    return false;
  }
  return true;
}

bool CTrayIconAnimation::Stop() {
  if (!IsRunning()) return false;
  m_frames = nullptr;
  SetEvent(m_wakeEvent.Get());
  // A step under way would otherwise put a turned frame back on the window
  // after the saved icons were restored.
  WaitForWorker();
  if (m_savedBig) SendMessageW(m_record.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_savedBig));
  if (m_savedSmall)
    SendMessageW(m_record.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_savedSmall));
  return true;
}

void CTrayIconAnimation::WaitForWorker() {
  if (!m_thread) return;
  // The worker sends to windows of this thread: keep taking sent messages.
  DWORD start = GetTickCount();
  for (;;) {
    DWORD left = kWorkerEndWaitMs - (GetTickCount() - start);
    if (static_cast<int>(left) <= 0) break;
    HANDLE thread = m_thread.Get();
    DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  m_thread.Reset();
}

DWORD WINAPI CTrayIconAnimation::ThreadProc(void* self) {
  auto* animation = static_cast<CTrayIconAnimation*>(self);
  animation->Run(animation->m_workerFrames);
  return 0;
}

void CTrayIconAnimation::Run(HIMAGELIST frames) {
  HICON previous = nullptr;
  HICON current = nullptr;
  while (Step(frames, &previous, &current)) {
    if (WaitForSingleObject(m_wakeEvent.Get(), m_record.intervalMs) == WAIT_OBJECT_0) break;
  }
  // The owner restores the window's icons after this thread ended; the
  // shell keeps its own copy of a tray icon.
  if (previous) DestroyIcon(previous);
  if (current) DestroyIcon(current);
  ImageList_Destroy(frames);
}

bool CTrayIconAnimation::Step(HIMAGELIST frames, HICON* previous, HICON* current) {
  if (!frames || m_frames.load() != frames) return false;
  HICON icon = ImageList_GetIcon(frames, m_frameIndex, ILD_NORMAL);
  if (icon) {
    NOTIFYICONDATAW data = {};
    data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data.hWnd = m_record.window;
    data.uID = m_record.iconId;
    data.uFlags = NIF_ICON;
    data.hIcon = icon;
    if (Shell_NotifyIconW(NIM_MODIFY, &data)) OnFrame(icon, m_record.param);
    // The window may still show the previous frame until this one took its
    // place; the one before it is free.
    if (*previous) DestroyIcon(*previous);
    *previous = *current;
    *current = icon;
  }
  if (++m_frameIndex >= m_frameCount) m_frameIndex = 0;
  return m_frames.load() == frames;
}

void CTrayWindowIconAnimation::OnFrame(HICON icon, LPARAM param) {
  HWND window = reinterpret_cast<HWND>(param);
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}
