// File > Save and File > Open on the file layer.
#include "files/file_commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "files/eulumdat.h"
#include "files/ies_format.h"
#include "files/owner_window.h"
#include "files/safe_save.h"
#include "files/utf8_path.h"

std::string WithExtension(std::string name, std::string_view extension) {
  const bool fits = name.size() >= extension.size();
  const std::string_view end = std::string_view(name).substr(fits ? name.size() - extension.size() : 0);
  // Letter case by ASCII alone: the locale must not decide a file's name.
  const bool same = fits && std::equal(end.begin(), end.end(), extension.begin(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
  });
  if (!same) name += extension;
  return name;
}

std::string WithIesExtension(std::string name) { return WithExtension(std::move(name), ".ies"); }

std::string WithSaveExtension(std::string name, SaveFormat format) {
  const bool eulumdat = format == SaveFormat::kEulumdat;
  const std::string_view other = eulumdat ? ".ies" : ".ldt";
  if (name.size() > other.size() && WithExtension(name, other) == name) {
    name.resize(name.size() - other.size());
  }
  return WithExtension(std::move(name), eulumdat ? ".ldt" : ".ies");
}

std::string_view FileNameOf(std::string_view path) {
#ifdef _WIN32
  constexpr std::string_view kSeparators = "/\\:";
#else
  constexpr std::string_view kSeparators = "/";
#endif
  const size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

std::string ReplaceQuestion(std::string_view fileName) {
  return std::string(fileName) + " already exists.\nDo you want to replace it?";
}

std::string_view WhyNotAFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(path), error);
  if (error || !std::filesystem::exists(status)) return {};  // fopen says why
  if (std::filesystem::is_directory(status)) return "it is a folder";
  if (!std::filesystem::is_regular_file(status)) return "it is not an ordinary file";
  return {};
}

namespace {

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(PathFromUtf8(path), error);
}

}  // namespace

std::optional<SavedFile> SaveWithDialog(OwnerWindow& owner, SaveContent& content,
                                        std::string_view current, SaveFormat initial) {
  const std::optional<std::string> chosen = owner.ChooseSaveFile(current, initial);
  if (!chosen) return std::nullopt;
  const SaveFormat format = owner.ChosenSaveFormat();
  const std::string path = WithSaveExtension(*chosen, format);
  // The dialog asked about the name as chosen; the one the extension made is
  // asked about here, so that no file is replaced without a question.
  if (path != *chosen && Exists(path) &&
      !owner.AskYesNo(ReplaceQuestion(FileNameOf(path)), kReplaceQuestionCaption)) {
    return std::nullopt;
  }
  if (const std::string left = content.NotWritten(format); !left.empty()) {
    owner.ShowMessage(left, kNotWrittenCaption);
  }
  std::error_code reason;
  if (!ReplaceFileContents(path, content.Bytes(format, path), reason)) {
    // Kept for compatibility: the first line and the caption as they always were.
    owner.ShowMessage(std::string(kSaveFailedText) + "\n" + std::string(FileNameOf(path)) + ": " +
                          reason.message() + ".",
                      kSaveFailedCaption);
    return std::nullopt;
  }
  return SavedFile{path, format};
}

namespace {

// Whether a line of the file starts with "TILT=", as in every LM-63 file and
// in no EULUMDAT file: the format is chosen by content, not by name.
bool HasTiltLine(std::FILE* file) {
  constexpr std::string_view kTilt = "TILT=";
  std::vector<char> buffer(64 * 1024);
  size_t matched = 0;  // characters of kTilt seen at the current line's start
  bool lineStart = true;
  for (;;) {
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), file);
    if (got == 0) return false;
    for (size_t i = 0; i < got; ++i) {
      const char c = buffer[i];
      if (lineStart && c == kTilt[matched]) {
        if (++matched == kTilt.size()) return true;
        continue;
      }
      lineStart = c == '\n';
      matched = 0;
    }
  }
}

// The file read as EULUMDAT; nothing when it is not one and its name does
// not say it should be, so that the LM-63 reader says what is wrong.
std::optional<EulumdatReadResult> ReadEulumdatFile(std::FILE* file, const std::string& name) {
  std::rewind(file);
  // What the file holds, in pieces, and one byte past the largest file the
  // reader takes, so that it can say a file is too large.
  std::string bytes;
  std::vector<char> piece(64 * 1024);
  while (bytes.size() <= kMaxEulumdatBytes) {
    const size_t got = std::fread(piece.data(), 1, piece.size(), file);
    if (got == 0) break;
    bytes.append(piece.data(), got);
  }
  EulumdatReadResult result = ReadEulumdatText(bytes);
  if (!result.ok && WithSaveExtension(name, SaveFormat::kEulumdat) != name) return std::nullopt;
  return result;
}

}  // namespace

std::optional<PhotometricFile> ReadPhotometricPath(OwnerWindow& owner, const std::string& path) {
  const std::string name(FileNameOf(path));
  if (const std::string_view why = WhyNotAFile(path); !why.empty()) {
    owner.ShowMessage("Could not open " + name + ": " + std::string(why) + ".", kOpenFailedCaption);
    return std::nullopt;
  }
  std::FILE* file = OpenUtf8(path, "rb");
  if (file == nullptr) {
    const std::string reason = std::generic_category().message(errno);
    owner.ShowMessage("Could not open " + name + ": " + reason + ".", kOpenFailedCaption);
    return std::nullopt;
  }
  if (!HasTiltLine(file)) {
    if (std::optional<EulumdatReadResult> ldt = ReadEulumdatFile(file, name)) {
      std::fclose(file);
      if (!ldt->ok) {
        owner.ShowMessage(name + " is not a usable EULUMDAT file: " + ldt->error,
                          kOpenFailedCaption);
        return std::nullopt;
      }
      return PhotometricFile{FileFormat::kEulumdat, std::move(ldt->photometry), {}};
    }
  }
  std::rewind(file);
  Lm63ReadResult result = ReadIesFile(file);
  if (!result.ok) {
    // An EULUMDAT text field may start with "TILT=" too: a file that is no
    // usable LM-63 file but reads whole as EULUMDAT is one.
    std::optional<EulumdatReadResult> ldt = ReadEulumdatFile(file, name);
    if (ldt && ldt->ok) {
      std::fclose(file);
      return PhotometricFile{FileFormat::kEulumdat, std::move(ldt->photometry), {}};
    }
  }
  std::fclose(file);
  if (!result.ok) {
    owner.ShowMessage(name + " is not a usable IES file: " + result.error, kOpenFailedCaption);
    return std::nullopt;
  }
  return PhotometricFile{FileFormat::kLm63, std::move(result.photometry), std::move(result.tableError)};
}
