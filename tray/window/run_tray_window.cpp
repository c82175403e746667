#include "history/capture/clipboard_spy.h"
#include "platform/atl/app_module.h"
#include "platform/atl/message_loop.h"
#include "tray/app/command_line.h"
#include "tray/app/startup.h"
#include "tray/window/tray_window.h"

std::vector<CIdleHandler*>& GetIdleHandlerList() {
  static std::vector<CIdleHandler*> handlers;
  return handlers;
}

int RunTrayWindow(HANDLE instanceEvent, int noInstall, const CCommandLine& commandLine) {
  // The clipboard watcher's, when it exists already; an absent one is skipped.
  GetIdleHandlerList().push_back(GetClipboardSpyIdleHandler());
  CMessageLoop loop;
  for (CIdleHandler* handler : GetIdleHandlerList())
    if (handler) loop.AddIdleHandler(handler);
  CAppModule* module = CAppModule::Current();
  bool registered = module && module->AddMessageLoop(&loop);

  int result = 0;
  {
    CQLRTrayWnd trayWindow(instanceEvent, noInstall, commandLine.GetText(), &commandLine);
    if (trayWindow.Create(0)) result = loop.Run();
  }
  if (registered) module->RemoveMessageLoop();
  return result;
}
