#include "engine/TCompil.h"
