#pragma once
// Some CPU kernels come in a vector (SSE2) and a scalar variant that give the
// same results; the variant is chosen once, when the renderer is set up.

namespace cubrik {

enum class KernelVariant { Scalar, Sse2 };

// SSE2 when the processor offers it and the environment does not set
// CUBRIK_SCALAR=1 (which lets the scalar kernels be exercised anywhere).
KernelVariant chooseKernelVariant();

// Whether this build and processor can run `variant`.
bool kernelVariantAvailable(KernelVariant variant);

}  // namespace cubrik
