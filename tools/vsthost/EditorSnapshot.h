#pragma once
// The effect's editor as it looks now, saved as a PNG: the editor is opened
// into an X11 window of this host's (on $DISPLAY, unmapped screens work as
// well), pumped through idle calls until its timer has drawn, read back and
// closed again.

#include <string>

struct AEffect;

bool SnapshotEditor(AEffect* effect, const std::string& pngPath, std::string* error);
