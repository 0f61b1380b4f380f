#include "DefaultAppearance.h"
