// expect: it lies in no area
#include "low/low.h"
