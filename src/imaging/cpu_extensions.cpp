#include "imaging/cpu_extensions.h"

namespace {

bool heldToSse2 = false;

bool processorHas(CpuExtension extension) {
#if defined(__x86_64__) || defined(__i386__)
    static const bool ssse3 = __builtin_cpu_supports("ssse3");
    static const bool sse41 = __builtin_cpu_supports("sse4.1");
    return extension == CpuExtension::ssse3 ? ssse3 : sse41;
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
