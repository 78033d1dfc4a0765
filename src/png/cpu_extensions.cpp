#include "png/cpu_extensions.h"

namespace {

// Process-wide: tests and benchmarks hold every conversion to the SSE2 code.
bool heldToSse2 = false;

bool processorHas(CpuExtension extension) {
#if defined(__x86_64__) || defined(__i386__)
    // The compiler's own record of the processor, filled at the first call.
    __builtin_cpu_init();
    return extension == CpuExtension::ssse3 ? __builtin_cpu_supports("ssse3")
                                            : __builtin_cpu_supports("sse4.1");
#else
    (void)extension;
    return false;
#endif
}

} // namespace

bool mayUse(CpuExtension extension) {
    return !heldToSse2 && processorHas(extension);
}

void holdToSse2(bool held) {
    heldToSse2 = held;
}
