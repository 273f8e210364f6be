#pragma once
// Text between the plug-in (UTF-8) and Core Foundation strings. Names may be
// non-ASCII, and a string's length counts UTF-16 units, not bytes.

#include "platform/corefoundation/CFString.h"
#include "wdl/heapbuf.h"

// A new string of the text; an empty string when the text is not valid
// UTF-8, so a host never gets null where it expects a name.
CFStringRef NewCFString(const char* text);
// The text cut to at most maxBytes bytes, never inside a character.
CFStringRef NewCFStringCut(const char* text, int maxBytes);
// The string as UTF-8 in *out (terminated); false for anything that is not
// a string.
bool CFStringToText(CFStringRef str, WDL_TypedBuf<char>* out);
// How many bytes of text fit in maxBytes without cutting a character.
int UTF8FitLength(const char* text, int maxBytes);
