#include "TrueTypeFont.h"
