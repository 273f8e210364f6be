#pragma once
// The one way an object enters a WDL_PtrList that owns its records (the
// list's owner deletes them with Delete(i, true) or Empty(true)): it comes
// as a unique_ptr, so it is never left without an owner.

#include <memory>
#include <type_traits>

#include "wdl/ptrlist.h"

// The stored record, or null when there was none or the list cannot grow:
// the object is deleted then.
template <class T>
T* AddOwned(WDL_PtrList<T>& list, std::type_identity_t<std::unique_ptr<T>> p)
{
  if (!p || !list.Add(p.get()))
    return nullptr;
  return p.release();
}
