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

bool writeDataFiles(const TimebaseState& timebase, const SampleBuffers& bufs, RemoteState& remote) {
  remote.DataFilesReady = 0;
  ++remote.DataFileNumber;
  const std::int32_t points =
      std::min<std::int32_t>((1 << timebase.SampleSizeIndex) * 2 * timebase.ScrollUnit, 65536);

  struct File {
    int flag;
    const char* suffix;
    const SampleBuffer* buf;
    bool analogue;
  };
  const File files[] = {{remote.WriteDataA, "Adata.dat", &bufs.BufA, true},
                        {remote.WriteDataB, "Bdata.dat", &bufs.BufB, true},
                        {remote.WriteDataC, "cdata.dat", &bufs.BufC, false},
                        {remote.WriteDataD, "ddata.dat", &bufs.BufD, false}};
  for (const File& f : files) {
    if (f.flag != 1) continue;
    remote.RemoteFilePath = remote.RemotePrefix + f.suffix;
    const auto bytes = f.analogue ? analogueBytes(*f.buf, points) : digitalBytes(*f.buf, points);
    if (!writeWholeFile(remote.RemoteFilePath, std::string_view(bytes.data(), bytes.size()))) {
      std::fprintf(stderr, "qvxscope: data files of this run abandoned\n");
      return false;
    }
    remote.DataFilesReady = 1;
  }
  return true;
}

}  // namespace qvx
