// Everyone-access security attributes for the named objects and files the
// programs of the suite share; Get() is null when they cannot be built, and
// the callers then fall back to default security.
#pragma once
#include <windows.h>

#include "foundation/security.h"

class EveryoneSecurityAttributes {
 public:
  EveryoneSecurityAttributes() { m_built = CreateEveryoneSecurityAttributes(m_sa); }
  EveryoneSecurityAttributes(const EveryoneSecurityAttributes&) = delete;
  EveryoneSecurityAttributes& operator=(const EveryoneSecurityAttributes&) = delete;
  SECURITY_ATTRIBUTES* Get() { return m_built ? &m_sa : nullptr; }

 private:
  SECURITY_ATTRIBUTES m_sa = {};
  bool m_built = false;
};
