// Whether the system reports a connection to the internet.
#pragma once

enum InternetState { kInternetConnected = 0, kInternetOffline = 1, kInternetUnknown = 2 };

// The system's answer, or kInternetUnknown when the library or its function
// is missing. The library is loaded for the question only. A state fixed
// for tests (online_test_seams.h) comes first.
int IsInternetConnected();
// The same asked of a given library (tests name one without the function).
int IsInternetConnectedWith(const wchar_t* library);
