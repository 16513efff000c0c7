#include "core/whole_file.h"

#include <cstdio>
#include <filesystem>

#include "core/plain_file.h"

namespace qvx {

bool writeWholeFile(const std::string& name, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(name);
  fs::path temp = target;
  temp += ".part";
  {
    std::string why;
    std::FILE* out = openPlainFile(temp.string(), "wb", &why);
    if (!out) {
      std::fprintf(stderr, "qvxscope: cannot create %s (%s)\n", temp.string().c_str(), why.c_str());
      return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (std::fclose(out) != 0 || !written) {
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
