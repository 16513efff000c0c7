#include "control/data_files.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

// Writes `bytes` to `name` so that the name only ever refers to a complete file.
bool writeWhole(const std::string& name, const std::vector<char>& bytes) {
  namespace fs = std::filesystem;
  const fs::path target(name);
  fs::path temp = target;
  temp += ".part";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) {
      std::fprintf(stderr, "qvxscope: cannot create %s\n", temp.string().c_str());
      return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "qvxscope: cannot write %s\n", temp.string().c_str());
      std::error_code ignored;
      fs::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) {
    std::fprintf(stderr, "qvxscope: cannot replace %s: %s\n", name.c_str(), ec.message().c_str());
    fs::remove(temp, ec);
    return false;
  }
  return true;
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
    if (!writeWhole(s.RemoteFilePath, bytes)) {
      std::fprintf(stderr, "qvxscope: data files of this run abandoned\n");
      return false;
    }
    s.DataFilesReady = 1;
  }
  return true;
}

}  // namespace qvx
