#include <windows.h>

#include "tray/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  return QuilloraMain(instance, commandLine);
}
