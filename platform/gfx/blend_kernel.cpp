#include "platform/gfx/blend_kernel.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VEXLO_HAVE_AVX2_KERNEL 1
#endif

namespace vexlo::gfx::detail {

#ifdef VEXLO_HAVE_AVX2_KERNEL
namespace {

// x * y / 255 rounded, on 16-bit lanes holding bytes: ((x * y + 128) * 257) >> 16 is
// the same value as pixman's (t + (t >> 8)) >> 8 for every pair of bytes.
__attribute__((target("avx2"))) inline __m256i MulUn8(__m256i x, __m256i y) {
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(0x80));
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(257));
}

// Each pixel's bytes are spread over two 16-bit lanes (red and blue, then alpha and
// green) and multiplied in place. Byte moves use shuffles rather than shifts: shifts
// share the two execution ports that the multiplications need.
__attribute__((target("avx2"))) inline __m256i ScalePixels(__m256i pixels, __m256i factor16) {
    const __m256i lowBytes = _mm256_set1_epi32(0x00FF00FF);
    const __m256i highBytesDown = _mm256_setr_epi8(1, -1, 3, -1, 5, -1, 7, -1, 9, -1, 11, -1, 13, -1, 15, -1, 1, -1, 3,
                                                   -1, 5, -1, 7, -1, 9, -1, 11, -1, 13, -1, 15, -1);
    const __m256i lowBytesUp = _mm256_setr_epi8(-1, 0, -1, 2, -1, 4, -1, 6, -1, 8, -1, 10, -1, 12, -1, 14, -1, 0, -1,
                                                2, -1, 4, -1, 6, -1, 8, -1, 10, -1, 12, -1, 14);
    const __m256i rb = MulUn8(_mm256_and_si256(pixels, lowBytes), factor16);
    const __m256i ag = MulUn8(_mm256_shuffle_epi8(pixels, highBytesDown), factor16);
    return _mm256_or_si256(rb, _mm256_shuffle_epi8(ag, lowBytesUp));
}

template <bool kConstantAlpha>
__attribute__((target("avx2"))) void BlendRow(uint32_t* dst, const uint32_t* src, int width, uint8_t ca) {
    const __m256i constant = _mm256_set1_epi16(ca);
    const __m256i full = _mm256_set1_epi16(0xFF);
    // Each pixel's alpha byte into both of its 16-bit lanes.
    const __m256i spreadAlpha = _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1, 3, -1, 3,
                                                 -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + x));
        if constexpr (kConstantAlpha) s = ScalePixels(s, constant);
        const __m256i inverse = _mm256_sub_epi16(full, _mm256_shuffle_epi8(s, spreadAlpha));
        __m256i* d = reinterpret_cast<__m256i*>(dst + x);
        const __m256i scaled = ScalePixels(_mm256_loadu_si256(d), inverse);
        _mm256_storeu_si256(d, _mm256_adds_epu8(s, scaled));
    }
    for (; x < width; ++x) dst[x] = BlendOverPixel(dst[x], src[x], ca);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

}  // namespace
#endif

bool BlendOverRows(uint32_t* dst, int dstStride, const uint32_t* src, int srcStride, int width, int height,
                   uint8_t constantAlpha) {
#ifdef VEXLO_HAVE_AVX2_KERNEL
    if (!HasAvx2()) return false;
    for (int y = 0; y < height; ++y) {
        uint32_t* d = dst + static_cast<ptrdiff_t>(y) * dstStride;
        const uint32_t* s = src + static_cast<ptrdiff_t>(y) * srcStride;
        if (constantAlpha == 255) {
            BlendRow<false>(d, s, width, constantAlpha);
        } else {
            BlendRow<true>(d, s, width, constantAlpha);
        }
    }
    return true;
#else
    (void)dst, (void)dstStride, (void)src, (void)srcStride, (void)width, (void)height, (void)constantAlpha;
    return false;
#endif
}

}  // namespace vexlo::gfx::detail
