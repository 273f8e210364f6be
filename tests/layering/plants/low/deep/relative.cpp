// expect: area low may not use area high
#include "../../high/high.h"
