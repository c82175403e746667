#include "online/update_dlg/html_view_api.h"

#include <mutex>
#include <string>

#include "foundation/files/paths.h"

namespace {

template <typename F>
bool Bind(HMODULE module, const char* name, F& fn) {
  fn = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return fn != nullptr;
}

}  // namespace

const HtmlViewApi* GetHtmlViewApi() {
  static HtmlViewApi api;
  static bool ok = false;
  static std::once_flag once;
  std::call_once(once, [] {
    // Only the program's own copy: never one found along the search path.
    HMODULE module = LoadLibraryW((GetAppFolderWithSlash() + L"HTMLayout.dll").c_str());
    if (!module) return;
    ok = Bind(module, "HTMLayoutClassNameW", api.ClassName) &&
         Bind(module, "HTMLayoutWindowAttachEventHandler", api.AttachEventHandler) &&
         Bind(module, "HTMLayoutLoadHtml", api.LoadHtml) &&
         Bind(module, "HTMLayoutGetRootElement", api.GetRootElement) &&
         Bind(module, "HTMLayoutVisitElements", api.VisitElements) &&
         Bind(module, "HTMLayoutGetElementState", api.GetElementState) &&
         Bind(module, "HTMLayoutSetElementState", api.SetElementState) &&
         Bind(module, "HTMLayoutSetStyleAttribute", api.SetStyleAttribute) &&
         Bind(module, "HTMLayoutGetAttributeByName", api.GetAttributeByName) &&
         Bind(module, "HTMLayoutSetAttributeByName", api.SetAttributeByName) &&
         Bind(module, "HTMLayoutControlGetType", api.ControlGetType) &&
         Bind(module, "HTMLayoutControlGetValue", api.ControlGetValue) &&
         Bind(module, "HTMLayout_UseElement", api.UseElement) &&
         Bind(module, "HTMLayout_UnuseElement", api.UnuseElement) && Bind(module, "ValueInit", api.ValueInit) &&
         Bind(module, "ValueClear", api.ValueClear);
    if (!ok) FreeLibrary(module);
  });
  return ok ? &api : nullptr;
}
