// Run-time class information: every class that declares itself dynamic
// names its class and its base, and a creatable one can be made by name
// (document templates create their frames and views this way).
#pragma once
#include <windows.h>

class CObject;

struct CRuntimeClass {
  const wchar_t* m_lpszClassName;
  int m_nObjectSize;
  CObject* (*m_pfnCreateObject)();
  const CRuntimeClass* (*m_pfnGetBaseClass)();

  // A new object of the class, or null when the class is not creatable.
  CObject* CreateObject() const;
  bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  const CRuntimeClass* GetBaseClass() const { return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr; }
};

class CObject {
 public:
  virtual ~CObject() = default;
  virtual const CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  static const CRuntimeClass classCObject;
  static const CRuntimeClass* GetThisClass() { return &classCObject; }

 protected:
  CObject() = default;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

#define DECLARE_DYNAMIC(class_name)                                     \
 public:                                                                \
  static const CRuntimeClass class##class_name;                         \
  static const CRuntimeClass* GetThisClass() { return &class##class_name; } \
  const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define QLR_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, pfnNew)                  \
  const CRuntimeClass class_name::class##class_name = {                                  \
      L## #class_name, static_cast<int>(sizeof(class_name)), pfnNew,                     \
      &base_class_name::GetThisClass};                                                   \
  const CRuntimeClass* class_name::GetRuntimeClass() const { return &class##class_name; }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  QLR_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)          \
  CObject* class_name::CreateObject() { return new class_name; } \
  QLR_IMPLEMENT_RUNTIMECLASS_(class_name, base_class_name, class_name::CreateObject)
