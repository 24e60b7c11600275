#include "model/kernel_variant.h"

#include <cstdlib>
#include <cstring>

namespace cubrik {

bool kernelVariantAvailable(KernelVariant variant) {
    if (variant == KernelVariant::Scalar) return true;
#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
    return __builtin_cpu_supports("sse2");
#else
    return false;
#endif
}

KernelVariant chooseKernelVariant() {
    const char* forced = std::getenv("CUBRIK_SCALAR");
    if (forced && std::strcmp(forced, "1") == 0) return KernelVariant::Scalar;
    return kernelVariantAvailable(KernelVariant::Sse2) ? KernelVariant::Sse2 : KernelVariant::Scalar;
}

}  // namespace cubrik
