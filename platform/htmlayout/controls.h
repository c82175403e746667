// What kind of control an element is, and its value.
#pragma once
#include "platform/htmlayout/dom.h"
#include "platform/htmlayout/htmlayout.h"

namespace hl {

// The element's own control type (CTL_NO for plain elements).
UINT OwnControlType(const Node& node);
// The type of the nearest control that holds the element, itself included:
// a press on a link's text or a checkbox's label belongs to that control.
UINT ControlTypeAt(const Node& node);
// The value of the element's own control; false when it is none.
bool ReadControlValue(const Node& node, VALUE& value);

}  // namespace hl
