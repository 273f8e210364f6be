#pragma once
// Process-wide free pools of context and object records.
//
// The pools are created on first use and never destroyed, so contexts and
// objects may be created and deleted from any thread at any time, including
// from static destructors while the process exits. Records still pooled
// then are left to the system.

#include "graphics/gdi/gdp_records.h"

// Each pool keeps at most this many free records.
constexpr int GDP_POOL_LIMIT = 1024;

// A zeroed record: the last pooled one, or a new one; null only when out
// of memory.
GDP_CTX* SWELL_GDP_CTX_NEW();
GDP_OBJECT* GDP_OBJECT_NEW();

// Pools the record, or frees it when the pool is full. Null is ignored.
// The caller has released everything the record referred to.
void GDP_CTX_DELETE(GDP_CTX* ctx);
void GDP_OBJECT_DELETE(GDP_OBJECT* obj);

// Free records pooled now.
int GDP_CtxPoolCount();
int GDP_ObjPoolCount();
