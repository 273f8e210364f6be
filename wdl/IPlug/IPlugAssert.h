#pragma once
// Malformed built-in set-up data (a channel-IO string, a preset table) is a
// programming error: report it in the classic assertion form and stop.

[[noreturn]] void IPlugFatalAssert(const char* file, unsigned line, const char* expr);
