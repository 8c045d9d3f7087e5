#pragma once
// What a library shows to the programs that link it. Every library is built
// with hidden symbols (-fvisibility=hidden -fvisibility-inlines-hidden); a
// public header puts what it declares between VESKAR_PUBLIC_BEGIN and
// VESKAR_PUBLIC_END, so its classes, functions and the statics of its inline
// functions are exported, and nothing else of the library is. A header
// marked "Private to" its folder is neither installed nor exported.
// VESKAR_LOCAL keeps a public template's instantiations inside the library
// that makes them.

#define VESKAR_PUBLIC_BEGIN _Pragma("GCC visibility push(default)")
#define VESKAR_PUBLIC_END _Pragma("GCC visibility pop")
#define VESKAR_LOCAL __attribute__((visibility("hidden")))
