#include "platform/cpu.h"
#include "yuv_row_converter.h"

namespace zet {

YuvRowsConverter bestColourRowsConverter() {
  static const YuvRowsConverter best = [] {
    const platform::CpuFeatures& features = platform::cpuFeatures();
    if (features.avx2) return convertColourRowsAvx2;
    if (features.sse2) return convertColourRowsSse2;
    return convertColourRowsPlain;
  }();
  return best;
}

}  // namespace zet
