// Version of every file of the suite.
#pragma once
#define QLR_VER_MAJOR 1
#define QLR_VER_MINOR 0
#define QLR_VER_PATCH 0
#define QLR_VER_BUILD 1
#define QLR_VER_COMMAS 1, 0, 0, 1
#define QLR_VER_TEXT "1, 0, 0, 1"
#define QLR_COMPANY "Tessaly Software"
#define QLR_PRODUCT "Quillora"
#define QLR_COPYRIGHT "Copyright (C) 2026 Tessaly Software"
