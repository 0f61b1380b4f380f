#include "UnicodeFontParts.h"
