#include "skin/sSkinManagerIntf.h"

TsSkinManager* DefaultSkinManager = nullptr;
