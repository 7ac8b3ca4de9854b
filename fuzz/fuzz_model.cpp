// libFuzzer entry: fuzzed data-file text and ROM bytes through the whole model.
#include "fuzz/fuzz_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RunModelFuzzInput(data, size);
    return 0;
}
