#include "edit/ball_brushes.h"
#include "edit/brush.h"
#include "edit/punch_brush.h"

namespace cubrik {

ToolKernels toolKernelsFor(KernelVariant variant) {
#if defined(__SSE2__)
    if (variant == KernelVariant::Sse2)
        return {ballStrokeKernelSse2, punchPrepareSse2, punchStampSse2, punchStrokeKernelSse2};
#endif
    // Without SSE2 in the build, kernelVariantAvailable never offers Sse2.
    (void)variant;
    return {ballStrokeKernelScalar, punchPrepareScalar, punchStampScalar, punchStrokeKernelScalar};
}

}  // namespace cubrik
