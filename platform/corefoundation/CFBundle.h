#pragma once
// Bundles: a folder with Contents/Info.plist. A bundle made from its URL is
// known to the process from then on (as a loaded bundle is on the platform)
// and found by its identifier. The main bundle is the folder of the running
// program; a host sets its identifier, which this platform cannot read from
// the program itself.

#include "platform/corefoundation/CFDictionary.h"
#include "platform/corefoundation/CFURL.h"

typedef struct __CFBundle* CFBundleRef;

CFTypeID CFBundleGetTypeID();
// Reads url/Contents/Info.plist (see cf_info_plist.h for the accepted form).
// A new reference; the same bundle again for a URL already known. Null when
// the list is missing, unreadable, larger than 1 MiB or malformed.
CFBundleRef CFBundleCreate(CFAllocatorRef alloc, CFURLRef bundleURL);
// The first known bundle whose CFBundleIdentifier equals the identifier,
// lent; null when none.
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef bundleID);
// Lent; never null.
CFBundleRef CFBundleGetMainBundle();
// Lent; null when the bundle has none.
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
// A new reference to the bundle folder's URL.
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
// The Info.plist dictionary, lent (empty for the main bundle).
CFDictionaryRef CFBundleGetInfoDictionary(CFBundleRef bundle);
// The string stored under key in the Info.plist, lent; null when absent.
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);

// Stand-in only: the host names itself, as its own Info.plist would on the
// platform. Null clears the identifier. Not thread-safe against readers.
void CFBundleSetMainBundleIdentifier(CFStringRef bundleID);
