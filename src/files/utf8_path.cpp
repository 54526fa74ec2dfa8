#include "files/utf8_path.h"

#include <cerrno>
#include <string>

namespace fs = std::filesystem;

fs::path PathFromUtf8(std::string_view utf8) {
  // Built from char8_t text, a path is taken as UTF-8 whatever the locale or
  // the code page (a plain char string would go through the ANSI code page on
  // Windows). The conversion throws for malformed UTF-8, which no dialog,
  // command line or drop of ours produces.
  try {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
  } catch (const std::exception&) {
    return fs::path();
  }
}

std::FILE* OpenPath(const fs::path& path, const char* mode) {
  if (path.empty()) {
    errno = ENOENT;
    return nullptr;
  }
#ifdef _WIN32
  const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));  // ASCII
  return _wfopen(path.c_str(), wideMode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

std::FILE* OpenUtf8(std::string_view utf8, const char* mode) { return OpenPath(PathFromUtf8(utf8), mode); }
