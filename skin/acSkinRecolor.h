#pragma once
// Recolouring of a loaded skin by a hue rotation or a saturation change:
// the master bitmap, the images with their own bitmaps, every section's
// colours and gradients and the skin-wide shadow and border colours. Grey
// pixels and the key colour keep their value, so neutral art and the
// transparent parts of images survive any offset.
#include "skin/sSkinData.h"

#include <functional>

// Applies `change` to every colour of the skin that takes part in a
// recolouring. Bitmaps are copied before they change: a loaded skin may
// share them with a stored skin or an earlier load.
void RecolorSkin(TacSkinContent& skin, const std::function<TColor(TColor)>& change);
// The colours alone: sections, gradients, shadow and border colour.
void RecolorColors(TacSkinContent& skin, const std::function<TColor(TColor)>& change);

// Hue first, then saturation, each only when not 0; `saturation` is the
// manager's setting (the amount is derived from it here). A hue change
// leaves the title-button icons the skin's BIKEEPHUE keeps as they were.
void ChangeSkinHueAndSaturation(TacSkinContent& skin, int hueOffset, int saturation);
