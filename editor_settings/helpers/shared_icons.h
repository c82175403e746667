// Icons that several parts of the editor show (read by the resource
// compiler too).
#pragma once

// A phrase in formatted text: the data-type button, the format list.
#define IDI_RTF_PHRASE 158
