#include "platform/mfc/core/object.h"

#include <new>

#include "foundation/logging/log.h"

const CRuntimeClass CObject::classCObject = {L"CObject", static_cast<int>(sizeof(CObject)),
                                             nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const { return &classCObject; }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass) ? TRUE : FALSE;
}

CObject* CRuntimeClass::CreateObject() const {
  if (!m_pfnCreateObject) {
    LogError(std::wstring(L"CRuntimeClass::CreateObject: class ") + m_lpszClassName +
             L" is not creatable");
    return nullptr;
  }
  try {
    return m_pfnCreateObject();
  } catch (const std::bad_alloc&) {
    LogError(std::wstring(L"CRuntimeClass::CreateObject: out of memory for ") + m_lpszClassName);
    return nullptr;
  }
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->GetBaseClass()) {
    if (c == pBaseClass) return true;
  }
  return false;
}
