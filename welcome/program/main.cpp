#include <windows.h>

#include "welcome/welcome_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show) {
  // The whole command line, program name included, as the log shows it.
  return WelcomeMain(instance, GetCommandLineW(), show);
}
