#pragma once
// Every Core Foundation stand-in interface.

#include "platform/corefoundation/CFArray.h"
#include "platform/corefoundation/CFBase.h"
#include "platform/corefoundation/CFBundle.h"
#include "platform/corefoundation/CFData.h"
#include "platform/corefoundation/CFDictionary.h"
#include "platform/corefoundation/CFNumber.h"
#include "platform/corefoundation/CFString.h"
#include "platform/corefoundation/CFURL.h"
