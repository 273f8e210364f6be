#pragma once
// Reader of a bundle's Info.plist. Bundles on this platform carry a flat
// property list: one top-level dict of <key> and <string> pairs, with the
// five predefined XML entities, optional XML declaration, DOCTYPE and
// comments. Anything else is refused. The bytes come from a file, so the
// reader never trusts a length or an ending.

#include "platform/corefoundation/CFDictionary.h"

#include <cstddef>

// A new dictionary of CFString keys and values, or null when the bytes are
// not such a list.
CFDictionaryRef CFInfoPlistParse(const UInt8* bytes, size_t length);
