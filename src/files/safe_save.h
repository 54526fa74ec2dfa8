#pragma once
// Replacing a file's whole content so that a failure changes nothing.

#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>

// Writes `bytes` to a new file in the same folder as `path`, flushes it to the
// disk, and only then puts it in the place of `path` (replacing a file that is
// there). False when any step fails (folder missing or not writable, disk
// full, I/O error, `path` names a folder or a device, or a file there is
// write-protected against this program): then a file at `path`
// is exactly as it was and the new file is gone. A symbolic link at `path`
// keeps pointing where it did; the file it points to is replaced.
// On failure `reason` says why, as the system words it ("Permission denied",
// "No space left on device").
bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::error_code& reason);

// Writes `bytes` to `file`, flushes it to the disk and closes it; false when
// writing, flushing or closing fails, with errno set by the first step that
// failed. The file is closed in every case.
bool WriteFlushAndClose(std::FILE* file, std::string_view bytes);
