// expect: area tests/unit may not use area tools/gen
#include "tools/gen/gen.h"
