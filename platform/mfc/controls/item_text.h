// Item texts of controls that copy at most a given count into a buffer and
// do not say how long the whole text is (tree and list items).
#pragma once
#include <windows.h>

#include <functional>

#include "platform/mfc/core/string.h"

// read(buffer, size) fills the buffer with at most size - 1 characters and
// a terminator. The buffer grows while the text filled it, so the whole
// text comes back (up to a bound that keeps a broken control from taking
// all memory).
CString AfxReadItemText(const std::function<void(wchar_t* buffer, int size)>& read);

// Copies text into a caller's buffer of size characters, cut to fit and
// always terminated; answers the characters copied (0 for no buffer).
int AfxCopyToBuffer(const CString& text, LPWSTR buffer, int size);
