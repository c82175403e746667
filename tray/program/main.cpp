#include <windows.h>

#include "tray/app/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
  return QuilloraMain(instance, commandLine);
}
