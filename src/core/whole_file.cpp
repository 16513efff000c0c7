#include "core/whole_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace qvx {

bool writeWholeFile(const std::string& name, std::string_view bytes) {
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

}  // namespace qvx
