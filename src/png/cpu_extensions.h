// The x86 extensions beyond SSE2 that the decoder's row code can use. Every x86-64 processor
// has SSE2; later ones add SSSE3 and SSE4.1, which the row code takes where the processor
// reports them.
#pragma once

enum class CpuExtension { ssse3, sse41 };

// Whether row code may use the extension: the processor has it and the decoder is not held
// to SSE2.
bool mayUse(CpuExtension extension);

// Holds the row code to SSE2 alone, or lets it go, so that tests can check both.
void holdToSse2(bool held);
