#include "AppearanceStream.h"
