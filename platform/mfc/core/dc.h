// Device contexts as handlers receive them (the GDI wrappers).
#pragma once
#include "platform/mfc/gdi/dc.h"
