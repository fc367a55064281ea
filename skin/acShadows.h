#pragma once
// The skin manager unit's built-in shadow pictures: the extended-border
// shadow of a form whose skin brings none of its own. Read from the
// program's resources "acSHDA" (active) and "acSHDI" (inactive) at start-up
// and freed at shutdown.
#include "skin/acPNG.h"

#include <memory>

extern std::unique_ptr<TPNGGraphic> ShadowImageA, ShadowImageI;

// The built-in shadow with its margins (left, top, right, bottom): 11, 7,
// 11, 11, each one more when the desktop composes windows. False, leaving
// everything as it was, while the pictures are not loaded.
bool BuiltInShadow(bool composition, TBitmap& active, TBitmap& inactive, TRect& margins);

// Unit start-up and shutdown of the pictures (each does its work once).
void acShadowsInitialization();
void acShadowsFinalization();
