// Replacing a file through a temporary file in the same folder.
#include "ies/safe_save.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>  // _access, _commit, _fileno
#else
#include <unistd.h>  // access, fsync
#endif

namespace fs = std::filesystem;

namespace {

// Asks the system to put the file's data on the disk, so that the rename
// below never leaves an empty or partial file after a power failure.
bool SyncToDisk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

// Whether this program may change the file: a write-protected file is not
// replaced behind its protection, although the folder would allow it.
bool MayWrite(const std::string& path) {
#ifdef _WIN32
  return _access(path.c_str(), 2) == 0;
#else
  return access(path.c_str(), W_OK) == 0;
#endif
}

// A new file for writing, failing if something took the name meanwhile
// ("x" is C11; the Windows C runtime we link against lacks it).
std::FILE* CreateNewFile(const std::string& path) {
#ifdef _WIN32
  return std::fopen(path.c_str(), "wb");
#else
  return std::fopen(path.c_str(), "wbx");
#endif
}

// Where to write: the path itself, or the file a symbolic link there points to
// (renaming onto the link would replace the link with a plain file).
std::string ResolvedTarget(const std::string& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(fs::path(path), error))) {
    const fs::path target = fs::weakly_canonical(fs::path(path), error);
    if (!error) return target.string();
  }
  return path;
}

// A name beside `target` that no file has yet: "<target>.saving", then
// "<target>.saving1", ... It starts with the target's name so that a file
// left by a crash shows what it belonged to.
std::string FreeTemporaryName(const std::string& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = target + ".saving";
    if (attempt > 0) name += std::to_string(attempt);
    std::error_code error;
    if (!fs::exists(fs::symlink_status(fs::path(name), error))) return name;
  }
  return std::string();
}

// Records why a step failed; false, for the caller to return.
bool Failed(std::error_code& reason, std::error_code why) {
  reason = why;
  return false;
}

// The reason in errno, which the C library and the POSIX calls set.
std::error_code LastError() { return {errno, std::generic_category()}; }

}  // namespace

bool WriteFlushAndClose(std::FILE* file, std::string_view bytes) {
  int firstError = 0;  // errno of the first step that failed
  const auto step = [&firstError](bool ok) {
    if (!ok && firstError == 0) firstError = errno;
    return ok;
  };
  bool ok = step(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
  ok = step(std::fflush(file) == 0) && ok;
  ok = ok && step(SyncToDisk(file));
  ok = step(std::fclose(file) == 0) && ok;
  if (!ok) errno = firstError != 0 ? firstError : EIO;
  return ok;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::error_code& reason) {
  reason.clear();
  const std::string target = ResolvedTarget(path);
  std::error_code error;
  const fs::file_status status = fs::status(fs::path(target), error);
  // Only a plain file is replaced; a folder or a device keeps its place.
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return Failed(reason, std::make_error_code(fs::is_directory(status) ? std::errc::is_a_directory
                                                                        : std::errc::operation_not_supported));
  }
  if (fs::exists(status) && !MayWrite(target)) return Failed(reason, LastError());

  const std::string temporary = FreeTemporaryName(target);
  if (temporary.empty()) return Failed(reason, std::make_error_code(std::errc::file_exists));
  std::FILE* file = CreateNewFile(temporary);
  if (file == nullptr) return Failed(reason, LastError());
  // The replacement keeps the permissions of the file it replaces.
  if (fs::exists(status)) {
    fs::permissions(fs::path(temporary), status.permissions(), error);
  }
  if (!WriteFlushAndClose(file, bytes)) {
    const std::error_code why = LastError();
    std::remove(temporary.c_str());
    return Failed(reason, why);
  }
  fs::rename(fs::path(temporary), fs::path(target), error);
  if (error) {
    std::remove(temporary.c_str());
    return Failed(reason, error);
  }
  return true;
}
