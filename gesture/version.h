// Version resource values of Gesture.dll, which keeps its own version apart
// from the rest of the suite.
#pragma once
#define GESTURE_VER_COMMAS 1, 0, 0, 24
#define GESTURE_VER_TEXT "1.0.0.24"
#define GESTURE_COMPANY "Tessaly Software"
#define GESTURE_DESCRIPTION "Quillora Gesture Module"
#define GESTURE_INTERNAL_NAME "Gesture"
#define GESTURE_FILE_NAME "Gesture.dll"
#define GESTURE_SPECIAL_BUILD "Created for Quillora v. 2.60 or higher"
