// Resource ids of the toolbars' images (read by the resource compiler too).
#pragma once

// Nine 16 x 16 images side by side on a magenta key: undo, redo, cut, copy,
// paste, into menu name, data type, insert macro, read only.
#define IDB_TEXT_TOOLBAR 3030
// Five images: home page, support, forum, community group, video.
#define IDB_LINKS_TOOLBAR 3031
