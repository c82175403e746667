// The request to the update service: its URL with what the service is told
// about the program and the machine.
#pragma once
#include <string>

// The service's address with "qlr_version", "winver", "sounds",
// "version_installed", "hotkey", "au", "LangFile", "languages", "country",
// "domain", "RAM", "screen", "MFC" and, when a version was skipped,
// "SkippedVersion", in this order.
std::wstring BuildUpdateRequestUrl();
