// The urlmon road of a download: URLDownloadToFileW with a status callback
// that hears the HTTP status and stops a transfer past a size limit.
#pragma once
#include <string>

// True only when urlmon reports S_OK, the server's status was below 400 and
// at most maxBytes arrived. Loads urlmon at run time.
bool DownloadWithUrlmon(const std::wstring& url, const std::wstring& path, unsigned long long maxBytes);
