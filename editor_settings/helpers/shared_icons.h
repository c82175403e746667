// Icons that several parts of the editor show (read by the resource
// compiler too).
#pragma once

// A phrase in formatted text: the data-type button, the format list.
#define IDI_RTF_PHRASE 158
// The program's icon: a phrase that starts an application, in the tree,
// the folder list, the menus and the data-type button.
#define IDI_APP_PHRASE 144
