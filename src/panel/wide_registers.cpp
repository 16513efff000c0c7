#include "panel/wide_registers.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace qvx {

#if defined(__x86_64__) || defined(__i386__)
namespace {
__attribute__((target("avx"))) void zeroUpperHalves() {
  _mm256_zeroupper();
}
}  // namespace
#endif

void clearWideRegisters() {
#if defined(__x86_64__) || defined(__i386__)
  static const bool wide = __builtin_cpu_supports("avx");
  if (wide) zeroUpperHalves();
#endif
}

}  // namespace qvx
