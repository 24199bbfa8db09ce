#pragma once
// Marks a function that floors or rounds many numbers: it gets a second copy built for SSE4.1,
// whose rounding instruction does each in one step where the baseline x86-64 build needs a
// sequence of them (the same results either way). The program picks the copy its processor can
// run when it is loaded.
#if defined(__x86_64__) && defined(__GNUC__)
#define GS_FAST_FLOORS __attribute__((target_clones("sse4.1", "default")))
#else
#define GS_FAST_FLOORS
#endif
