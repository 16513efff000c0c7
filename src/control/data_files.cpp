#include "control/data_files.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/whole_file.h"

namespace qvx {

namespace {

std::vector<char> analogueBytes(const SampleBuffer& buf, std::int32_t points) {
  std::vector<char> out;
  out.reserve(static_cast<std::size_t>(points) * 2);
  for (std::int32_t i = 0; i < points; ++i) {
    out.push_back(static_cast<char>((buf[i] & 0xF00) / 256));
    out.push_back(static_cast<char>(buf[i] & 0xFF));
  }
  return out;
}

std::vector<char> digitalBytes(const SampleBuffer& buf, std::int32_t points) {
  std::vector<char> out(static_cast<std::size_t>(points));
  for (std::int32_t i = 0; i < points; ++i) out[i] = buf[i] > 2048 ? 1 : 0;
  return out;
}

}  // namespace

bool writeDataFiles(Scope& s) {
  s.DataFilesReady = 0;
  ++s.DataFileNumber;
  const std::int32_t points =
      std::min<std::int32_t>((1 << s.SampleSizeIndex) * 2 * s.ScrollUnit, 65536);

  struct File {
    int flag;
    const char* suffix;
    const SampleBuffer* buf;
    bool analogue;
  };
  const File files[] = {{s.WriteDataA, "Adata.dat", &s.BufA, true},
                        {s.WriteDataB, "Bdata.dat", &s.BufB, true},
                        {s.WriteDataC, "cdata.dat", &s.BufC, false},
                        {s.WriteDataD, "ddata.dat", &s.BufD, false}};
  for (const File& f : files) {
    if (f.flag != 1) continue;
    s.RemoteFilePath = s.RemotePrefix + f.suffix;
    const auto bytes = f.analogue ? analogueBytes(*f.buf, points) : digitalBytes(*f.buf, points);
    if (!writeWholeFile(s.RemoteFilePath, std::string_view(bytes.data(), bytes.size()))) {
      std::fprintf(stderr, "qvxscope: data files of this run abandoned\n");
      return false;
    }
    s.DataFilesReady = 1;
  }
  return true;
}

}  // namespace qvx
