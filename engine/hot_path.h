#pragma once

// The innermost loops of the engine get a second, AVX2 version, chosen when the program
// starts, where the compiler can make one; elsewhere they run as built. Not under
// ThreadSanitizer: the choice is made while the program is loaded, before its runtime is up.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define SORDANEL_HOT_PATH __attribute__((target_clones("avx2", "default")))
#else
#define SORDANEL_HOT_PATH
#endif
