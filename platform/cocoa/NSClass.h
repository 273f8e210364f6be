#pragma once
// The run-time's table of classes by name, for code that makes an object
// of a class it only knows by name (a host instantiating a plug-in's view
// factory). A class registers its name, superclass and a maker that does
// alloc and init; NSObject and NSView are there from the start.

#include "platform/cocoa/NSObject.h"

struct NSClassRecord
{
  const char* name;
  const NSClassRecord* superclass;     // null for the root
  NSObject* (*make)();                 // a new object the caller owns
  bool (*isInstance)(const NSObject*); // obj is of this class or a subclass
};
typedef const NSClassRecord* Class;

// Null for nil or an unknown name.
Class NSClassFromString(const char* name);
// The maker's new object; aborts for a nil class.
NSObject* NSClassCreateInstance(Class cls);
// False for a nil object or class.
bool NSObjectIsKindOfClass(const NSObject* obj, Class cls);

// Registers cls under its name (the record must outlive its use); a name
// already taken keeps its first class, and false is returned, as the
// run-time keeps one of two classes of the same name.
bool NSRegisterClass(const NSClassRecord* cls);

template <class T>
bool NSIsInstanceOf(const NSObject* obj)
{
  return dynamic_cast<const T*>(obj) != nullptr;
}

// At namespace scope: registers T (made with new T()) under name with the
// superclass named super, when the program or library loads.
#define NS_REGISTER_CLASS(T, nameText, superName)                                                                      \
  static const NSClassRecord kNSClassRecord_##T = {nameText, NSClassFromString(superName),                             \
                                                   []() -> NSObject* { return new T(); }, &NSIsInstanceOf<T>};         \
  static const bool kNSClassRegistered_##T = NSRegisterClass(&kNSClassRecord_##T)
