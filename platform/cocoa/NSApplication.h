#pragma once
// Readies Cocoa for use inside a program that is not a Cocoa application
// (a Carbon host). The stand-in needs no set-up: always true.

inline bool NSApplicationLoad()
{
  return true;
}
