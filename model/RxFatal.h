#pragma once

#include <new>
#include <utility>

// How the program ends on conditions it cannot recover from.
//
// Every fatal condition writes one line, exactly as given (spelling included, since
// scripts match on it), to standard output and exits with status -1.
//
// Memory exhaustion reaches us in two ways, and each growth site that has a message of
// its own guards it with one of them:
//  - C allocations (the curve arrays, which grow with realloc) are checked for null and
//    call rxFatal with the site's message;
//  - Qt containers, std containers and new throw std::bad_alloc; the site wraps the growth
//    in rxGuardMemory, which turns the exception into rxFatal with the site's message.
// Nothing else catches std::bad_alloc, and no code of ours throws.

[[noreturn]] void rxFatal(const char *message);

template <typename F> decltype(auto) rxGuardMemory(const char *message, F &&grow)
{
    try {
        return std::forward<F>(grow)();
    } catch (const std::bad_alloc &) {
        rxFatal(message);
    }
}
