#include <low/low.h>
