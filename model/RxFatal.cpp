#include "model/RxFatal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void rxFatal(const char *message)
{
    // fwrite, not a formatted print: with memory gone, nothing here may allocate.
    std::fwrite(message, 1, std::strlen(message), stdout);
    std::fflush(stdout);
    std::fflush(stderr);
    // _Exit, not exit: no destructor or exit handler may run on top of a state that is
    // known to be broken.
    std::_Exit(-1);
}
