// Replacing a file through a temporary file in the same folder.
#include "files/safe_save.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "files/utf8_path.h"

#ifdef _WIN32
#include <io.h>  // _waccess, _commit, _fileno
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
bool MayWrite(const fs::path& path) {
#ifdef _WIN32
  return _waccess(path.c_str(), 2) == 0;
#else
  return access(path.c_str(), W_OK) == 0;
#endif
}

// A new file for writing, failing if something took the name meanwhile
// ("x" is C11; the Windows C runtime we link against lacks it).
std::FILE* CreateNewFile(const fs::path& path) {
#ifdef _WIN32
  return OpenPath(path, "wb");
#else
  return OpenPath(path, "wbx");
#endif
}

// Where to write: the path itself, or the file a symbolic link there points to
// (renaming onto the link would replace the link with a plain file).
fs::path ResolvedTarget(const fs::path& path) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(path, error))) {
    fs::path target = fs::weakly_canonical(path, error);
    if (!error) return target;
  }
  return path;
}

// A name beside `target` that no file has yet: "<target>.saving", then
// "<target>.saving1", ... It starts with the target's name so that a file
// left by a crash shows what it belonged to.
fs::path FreeTemporaryName(const fs::path& target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path name = target;
    name += attempt > 0 ? ".saving" + std::to_string(attempt) : std::string(".saving");
    std::error_code error;
    if (!fs::exists(fs::symlink_status(name, error))) return name;
  }
  return fs::path();
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
  const fs::path named = PathFromUtf8(path);
  if (named.empty()) return Failed(reason, std::make_error_code(std::errc::invalid_argument));
  const fs::path target = ResolvedTarget(named);
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  // Only a plain file is replaced; a folder or a device keeps its place.
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    return Failed(reason, std::make_error_code(fs::is_directory(status) ? std::errc::is_a_directory
                                                                        : std::errc::operation_not_supported));
  }
  if (fs::exists(status) && !MayWrite(target)) return Failed(reason, LastError());

  const fs::path temporary = FreeTemporaryName(target);
  if (temporary.empty()) return Failed(reason, std::make_error_code(std::errc::file_exists));
  std::FILE* file = CreateNewFile(temporary);
  if (file == nullptr) return Failed(reason, LastError());
  // The replacement keeps the permissions of the file it replaces.
  if (fs::exists(status)) {
    fs::permissions(temporary, status.permissions(), error);
  }
  if (!WriteFlushAndClose(file, bytes)) {
    const std::error_code why = LastError();
    fs::remove(temporary, error);
    return Failed(reason, why);
  }
  // One atomic step that replaces an existing file (MoveFileExW with
  // MOVEFILE_REPLACE_EXISTING on Windows).
  fs::rename(temporary, target, error);
  if (error) {
    const std::error_code why = error;
    fs::remove(temporary, error);
    return Failed(reason, why);
  }
  return true;
}
