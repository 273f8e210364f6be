#pragma once
// The choice of instruction set for the loops that are also built for AVX2
// (the bilinear scaled copy, overlay and HSV rows, copies at full weight,
// opaque disc spans). They take the AVX2 build where the processor
// has it (the default); switched off, the SSE2 build runs, which the tests
// compare against it. Same arithmetic, same bits.

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define LICE_AVX2_BUILD 1
#else
#define LICE_AVX2_BUILD 0
#endif

void LICE_SetAvx2Enabled(bool on);
// True when enabled and the processor (and the system) supports AVX2.
bool LICE_Avx2Enabled();
bool LICE_ProcessorHasAvx2();
