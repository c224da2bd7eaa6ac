// How the pixel kernels are compiled. No Win32 here.
//
// The vector kernels are compiled for their instruction sets function by
// function, so the rest of the 32-bit program still runs on processors
// without them. 32-bit Windows only promises a 4-byte aligned stack: the
// entry points realign it, and every load and store is unaligned.
#pragma once

#if defined(__i386__)
#define GLEAMO_REALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define GLEAMO_REALIGN_STACK
#endif
#define GLEAMO_SSE2_KERNEL __attribute__((target("sse2"))) GLEAMO_REALIGN_STACK
#define GLEAMO_AVX2_KERNEL __attribute__((target("avx2"))) GLEAMO_REALIGN_STACK

// The scalar kernels stand for processors without vector units; keep the
// compiler from vectorising them behind our back where it would (x86-64).
#if defined(__clang__)
#define GLEAMO_SCALAR_KERNEL
#define GLEAMO_SCALAR_LOOP _Pragma("clang loop vectorize(disable) interleave(disable)")
#elif defined(__GNUC__)
#define GLEAMO_SCALAR_KERNEL __attribute__((optimize("no-tree-vectorize")))
#define GLEAMO_SCALAR_LOOP
#else
#define GLEAMO_SCALAR_KERNEL
#define GLEAMO_SCALAR_LOOP
#endif
