// The calls of HTMLayout.dll that the update dialog makes, bound at run
// time from the program folder: the tray program starts and works without
// the library, and its update dialog then shows the buttons only.
#pragma once
#include "platform/htmlayout/htmlayout.h"

struct HtmlViewApi {
  decltype(&HTMLayoutClassNameW) ClassName;
  decltype(&HTMLayoutWindowAttachEventHandler) AttachEventHandler;
  decltype(&HTMLayoutLoadHtml) LoadHtml;
  decltype(&HTMLayoutGetRootElement) GetRootElement;
  decltype(&HTMLayoutVisitElements) VisitElements;
  decltype(&HTMLayoutGetElementState) GetElementState;
  decltype(&HTMLayoutSetElementState) SetElementState;
  decltype(&HTMLayoutSetStyleAttribute) SetStyleAttribute;
  decltype(&HTMLayoutGetAttributeByName) GetAttributeByName;
  decltype(&HTMLayoutSetAttributeByName) SetAttributeByName;
  decltype(&HTMLayoutControlGetType) ControlGetType;
  decltype(&HTMLayoutControlGetValue) ControlGetValue;
  decltype(&HTMLayout_UseElement) UseElement;
  decltype(&HTMLayout_UnuseElement) UnuseElement;
  decltype(&ValueInit) ValueInit;
  decltype(&ValueClear) ValueClear;
};

// Null when the library or one of its calls is missing; the library stays
// loaded for the process.
const HtmlViewApi* GetHtmlViewApi();
