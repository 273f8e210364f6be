#pragma once
// Private to the stand-in: the path of a URL object, valid while it lives;
// null for anything else.

#include "platform/corefoundation/CFURL.h"

const char* CFURLPath(CFURLRef url);
