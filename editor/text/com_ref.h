// Holds one reference to a COM interface and releases it.
#pragma once
#include <unknwn.h>

template <class T>
class ComRef {
 public:
  ComRef() = default;
  explicit ComRef(T* p) : m_p(p) {}
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  void Reset(T* p = nullptr) {
    if (m_p) m_p->Release();
    m_p = p;
  }
  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  // For out-parameters: the old reference is released first.
  T** Out() {
    Reset();
    return &m_p;
  }

 private:
  T* m_p = nullptr;
};
