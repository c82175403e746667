#include "online/urlmon_download.h"

#include <windows.h>
#include <urlmon.h>

#include <atomic>

namespace {

using UrlDownloadToFileFn = HRESULT(WINAPI*)(IUnknown*, LPCWSTR, LPCWSTR, DWORD, IBindStatusCallback*);

constexpr DWORD kFirstFailingStatus = 400;

// urlmon may hold the callback past the end of the download (its binding
// is released from its own threads): the watch lives on the heap and ends
// with its last reference.
class DownloadWatch final : public IBindStatusCallback, public IHttpNegotiate, public IServiceProvider {
 public:
  explicit DownloadWatch(unsigned long long maxBytes) : m_maxBytes(maxBytes) {}

  bool Failed() const { return m_failed; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback))
      *out = static_cast<IBindStatusCallback*>(this);
    else if (IsEqualIID(riid, IID_IHttpNegotiate))
      *out = static_cast<IHttpNegotiate*>(this);
    else if (IsEqualIID(riid, IID_IServiceProvider))
      *out = static_cast<IServiceProvider*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --m_refs;
    if (left == 0) delete this;
    return left;
  }

  // IServiceProvider: urlmon asks its callback for the HTTP negotiator this
  // way as well as by QueryInterface.
  STDMETHODIMP QueryService(REFGUID, REFIID riid, void** out) override { return QueryInterface(riid, out); }

  // IHttpNegotiate
  STDMETHODIMP BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* extra) override {
    if (extra) *extra = nullptr;
    return S_OK;
  }
  STDMETHODIMP OnResponse(DWORD status, LPCWSTR, LPCWSTR, LPWSTR* extra) override {
    if (extra) *extra = nullptr;
    if (status >= kFirstFailingStatus) {
      m_failed = true;
      return E_ABORT;
    }
    return S_OK;
  }

  // IBindStatusCallback
  STDMETHODIMP OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  STDMETHODIMP GetPriority(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP OnLowResource(DWORD) override { return S_OK; }
  STDMETHODIMP OnProgress(ULONG progress, ULONG, ULONG status, LPCWSTR) override {
    if ((status == BINDSTATUS_DOWNLOADINGDATA || status == BINDSTATUS_ENDDOWNLOADDATA) &&
        progress > m_maxBytes) {
      m_failed = true;
      return E_ABORT;
    }
    return m_failed ? E_ABORT : S_OK;
  }
  STDMETHODIMP OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  STDMETHODIMP GetBindInfo(DWORD* flags, BINDINFO* info) override {
    if (flags) *flags |= BINDF_GETNEWESTVERSION | BINDF_NOWRITECACHE;
    (void)info;
    return S_OK;
  }
  STDMETHODIMP OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
  STDMETHODIMP OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

 private:
  ~DownloadWatch() = default;

  unsigned long long m_maxBytes;
  std::atomic<ULONG> m_refs{1};
  std::atomic<bool> m_failed{false};
};

bool FileSizeAtMost(const std::wstring& path, unsigned long long limit) {
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
  unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  return size <= limit;
}

}  // namespace

bool DownloadWithUrlmon(const std::wstring& url, const std::wstring& path, unsigned long long maxBytes) {
  // Loaded once and never freed: urlmon's threads outlive a download, and
  // unloading it under them crashes the program.
  static const UrlDownloadToFileFn download = [] {
    HMODULE urlmon = LoadLibraryW(L"urlmon.dll");
    return urlmon ? reinterpret_cast<UrlDownloadToFileFn>(
                        reinterpret_cast<void*>(GetProcAddress(urlmon, "URLDownloadToFileW")))
                  : nullptr;
  }();
  if (!download) return false;
  DownloadWatch* watch = new DownloadWatch(maxBytes);
  HRESULT result = download(nullptr, url.c_str(), path.c_str(), 0, watch);
  const bool failed = watch->Failed();
  watch->Release();
  return result == S_OK && !failed && FileSizeAtMost(path, maxBytes);
}
