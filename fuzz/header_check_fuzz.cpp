// libFuzzer target: the header check on any bytes; the sanitizers are the judge.
#include <stdint.h>

#include "sound/ogg_header_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    HeadersAreSane(data, size);
    return 0;
}
