#include "tray/hook/retry_sender.h"

#include <memory>

#include "foundation/logging/log.h"

namespace {

bool Stopped(HANDLE stopEvent, DWORD waitMs) {
  if (!stopEvent) {
    Sleep(waitMs);
    return false;
  }
  return WaitForSingleObject(stopEvent, waitMs) != WAIT_TIMEOUT;
}

DWORD WINAPI RetrySenderThread(void* param) {
  std::unique_ptr<RetrySenderRecord> record(static_cast<RetrySenderRecord*>(param));
  for (int attempt = 1; attempt <= record->tries; ++attempt) {
    if ((attempt > 1 || !record->sendFirst) && Stopped(record->stopEvent, record->intervalMs))
      return kRetryStopped;
    LRESULT answer = SendMessageW(record->window, record->message, 0, 0);
    if (record->tryLogFormat) {
      wchar_t line[200];
      swprintf(line, 200, record->tryLogFormat, static_cast<int>(answer), attempt);
      Log(line);
    }
    if (answer) return kRetryAnswered;
  }
  return kRetryGaveUp;
}

}  // namespace

bool StartRetrySender(const RetrySenderRecord& record) {
  auto* copy = new RetrySenderRecord(record);
  HANDLE thread = CreateThread(nullptr, 0, RetrySenderThread, copy, 0, nullptr);
  if (!thread) {
    delete copy;
    return false;
  }
  CloseHandle(thread);
  return true;
}
