#include "editor/services/document_icons.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/system/handles.h"

namespace {

const wchar_t kClass[] = L"Quillora.ServicesTestClass";
const wchar_t kClsid[] = L"{6E1D3A7C-51A4-4B0E-9A3C-0F2B5D7E9C41}";

void SetDefault(const std::wstring& key, const std::wstring& value) {
  UniqueHKey k;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.Put(), nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(k.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

TEST(DocumentIconsTest, ClassDisplayNameThroughItsClsid) {
  SetDefault(kClass, L"Own name");
  EXPECT_EQ(GetRegClassDisplayName(kClass), L"Own name");
  // A CLSID that names no class key: the class's own name stays.
  SetDefault(std::wstring(kClass) + L"\\CLSID", kClsid);
  EXPECT_EQ(GetRegClassDisplayName(kClass), L"Own name");
  SetDefault(std::wstring(L"CLSID\\") + kClsid, L"Name of the CLSID");
  EXPECT_EQ(GetRegClassDisplayName(kClass), L"Name of the CLSID");
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kClass);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + kClsid).c_str());
  EXPECT_EQ(GetRegClassDisplayName(kClass), L"");
  EXPECT_EQ(GetRegClassDisplayName(L""), L"");
}

}  // namespace
