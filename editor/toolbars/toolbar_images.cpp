#include "editor/toolbars/toolbar_images.h"

#include "editor/toolbars/toolbar_names.h"
#include "editor_settings/helpers/ui_helpers.h"
#include "platform/mfc/controls/image_list.h"

void AddImageStrip(CImageList& list, UINT bitmapId, int count) {
  if (!list.GetSafeHandle()) return;
  const int before = list.GetImageCount();
  HBITMAP strip = static_cast<HBITMAP>(::LoadImageW(GetAppInstanceHandle(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP,
                                                    0, 0, LR_CREATEDIBSECTION));
  if (strip) {
    ::ImageList_AddMasked(list.GetSafeHandle(), strip, toolbars::kImageKey);
    ::DeleteObject(strip);
  }
  // A strip narrower than promised, or none: the rest stays empty.
  while (list.GetImageCount() < before + count)
    if (AddEmptyImage(list) < 0) break;
}
