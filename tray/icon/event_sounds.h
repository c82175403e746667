// The tray program's event sounds: a worker thread plays the wav file of a
// requested event from the program folder while the sound option is on. A
// request made while another is pending replaces it.
#pragma once
#include <windows.h>

#include <string>

enum EventSound {
  kSoundKbd = 0,
  kSoundLaunch = 1,
  kSoundPaper = 2,
  kSoundMenu = 3,
  kSoundStart = 4,
  kSoundStartAsAdmin = 5,
  kSoundAlreadyWork = 6,
  kEventSoundCount = 7,
};

// The file name of an event sound; empty outside the table.
std::wstring GetEventSoundFileName(int index);

// Starts the worker; it ends when stopEvent is set.
bool StartSoundThread(HANDLE stopEvent);
bool RequestSound(int index);
bool PlayKbdSound();
bool PlayLaunchSound();
bool PlayPaperSound();
bool PlayMenuSound();
// The administrator's start sound when the process runs as one.
bool PlayStartSound();
bool PlayAlreadyWorkSound();

// With the sound option on: the system's notification sound / a beep.
bool PlayNotificationIfSoundOn();
bool BeepIfSoundOn();

// Test seams: the folder the sound files are taken from (empty: the program
// folder; read when the worker starts) and the function that plays a file
// (null: the system's).
void SetEventSoundFolder(const std::wstring& folder);
using EventSoundPlayer = bool (*)(const wchar_t* path);
void SetEventSoundPlayer(EventSoundPlayer player);
