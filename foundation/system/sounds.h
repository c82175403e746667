// Event sounds. When the stop-before-play flag is set (the tray window sets
// it at start), each new sound first stops the one still playing.
#pragma once

bool PlaySoundAlias(const wchar_t* alias, bool async);
bool PlayNotificationSound(bool async);
bool PlayExclamationSound(bool async);  // the editor's warning sound
// Plays the file `count` times in a row; true when one of them played.
bool PlaySoundFile(const wchar_t* path, int count, bool async);
bool StopSound();
void StopSoundIfRequested();
void SetStopSoundBeforePlay(bool stop);
bool GetStopSoundBeforePlay();

// Test seam: told of every event sound asked for, before it plays (the
// sound device may be missing, so the play result says nothing).
using SoundAliasObserver = void (*)(const wchar_t* alias);
void SetSoundAliasObserver(SoundAliasObserver observer);
