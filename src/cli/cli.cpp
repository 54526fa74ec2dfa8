// Sections:
//   1. texts and the decoded command line
//   2. decoding the arguments
//   3. a console owner window: File > Open and Save without dialogs
//   4. info, render, convert
#include "cli/cli.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "cli/info_report.h"
#include "cli/png_image.h"
#include "editor/distribution_editor.h"
#include "editor/fit_view.h"
#include "ies/ies_file_commands.h"
#include "ies/owner_window.h"
#include "ies/safe_save.h"
#include "measure/lamp_numbers.h"
#include "measure/scale_curve.h"
#include "render/image.h"
#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {

// ---- 1. texts and the decoded command line

constexpr std::string_view kProgram = "lumistra-cli";

constexpr std::string_view kUsage =
    "Usage: lumistra-cli info [--json] FILE...\n"
    "       lumistra-cli render [--size WxH] FILE... -o OUT\n"
    "       lumistra-cli convert [--lm63-2019] [--lumens N | --peak N] FILE -o OUT\n"
    "       lumistra-cli --help | --version\n";

constexpr std::string_view kHelpText =
    "\n"
    "The numbers, pictures and clean files of LM-63 (.ies) and EULUMDAT (.ldt)\n"
    "light distributions.\n"
    "Each FILE is read as Lumistra's File > Open reads it.\n"
    "\n"
    "Commands:\n"
    "  info     peak intensity, luminous flux, beam and field angles;\n"
    "           with --json one JSON object per file per line\n"
    "  render   both views as PNG, as Lumistra shows them after opening the file\n"
    "           in a window of W x H pixels (default 800x400); with one FILE,\n"
    "           OUT is the picture's name, with several a folder (<name>.png each)\n"
    "  convert  the curve written as File > Save writes it: as EULUMDAT when OUT\n"
    "           ends in .ldt, otherwise as LM-63 (.ies); --lm63-2019 writes a\n"
    "           standard LM-63-2019 file; --lumens N first scales the curve to a\n"
    "           flux of N lm, --peak N to a peak of N cd\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays help on commandline options.\n"
    "  -v, --version  Displays version information.\n"
    "\n"
    "Exit status: 0 when every file was usable, 1 when any was not,\n"
    "2 for a usage error.\n";

enum class CommandKind { kInfo, kRender, kConvert };

struct Command {
  CommandKind kind = CommandKind::kInfo;
  bool json = false;
  int width = 800;  // the window's client area for render
  int height = 400;
  std::vector<std::string> files;
  std::optional<std::string> out;
  bool lm63Of2019 = false;        // convert: a standard LM-63-2019 file
  std::optional<double> lumens;   // convert: the curve scaled to this flux first
  std::optional<double> peak;     // convert: or to this peak
};

// --help and --version end the run at once, wherever they stand.
enum class EarlyExit { kNone, kHelp, kVersion };

// What the arguments ask for, or why they cannot be used.
struct Decoded {
  EarlyExit early = EarlyExit::kNone;
  std::optional<Command> command;
  std::string usageError;  // without an early exit or a command
};

// ---- 2. decoding the arguments

// "WxH" with each side 1..32767 (the largest client area a window reports)
// and a picture small enough for the PNG encoder.
bool ParseSize(std::string_view text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string_view::npos) return false;
  const auto side = [](std::string_view digits, int& value) {
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    return error == std::errc() && stop == end &&
           value >= 1 && value <= DistributionEditor::kMaxClientSide;
  };
  return side(text.substr(0, x), width) && side(text.substr(x + 1), height) &&
         int64_t{width} * height <= kMaxPngPixels;
}

// A positive finite number, written with a full stop whatever the locale.
bool ParsePositive(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end && value > 0.0 && std::isfinite(value);
}

// Whether `name` ends in ".ldt" in any letter case.
bool NamesEulumdat(const std::string& name) {
  return name.size() >= 4 && WithSaveExtension(name, SaveFormat::kEulumdat) == name;
}

Decoded Decode(std::span<const std::string> args) {
  Decoded decoded;
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help") decoded.early = EarlyExit::kHelp;
    if (arg == "-v" || arg == "--version") decoded.early = EarlyExit::kVersion;
    if (decoded.early != EarlyExit::kNone) return decoded;
  }
  const auto fail = [&](std::string why) {
    decoded.usageError = std::move(why);
    return decoded;
  };
  if (args.empty()) return fail("no command given");

  Command command;
  const std::string& name = args[0];
  if (name == "info") {
    command.kind = CommandKind::kInfo;
  } else if (name == "render") {
    command.kind = CommandKind::kRender;
  } else if (name == "convert") {
    command.kind = CommandKind::kConvert;
  } else {
    return fail("unknown command \"" + name + "\"");
  }

  bool onlyFiles = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (onlyFiles || arg.size() < 2 || arg[0] != '-') {
      command.files.push_back(arg);
    } else if (arg == "--") {
      onlyFiles = true;
    } else if (arg == "--json" && command.kind == CommandKind::kInfo) {
      command.json = true;
    } else if (arg == "--size" && command.kind == CommandKind::kRender) {
      if (!hasValue || !ParseSize(args[++i], command.width, command.height)) {
        return fail("--size needs WxH, each side 1 to 32767 pixels");
      }
    } else if (arg == "--lm63-2019" && command.kind == CommandKind::kConvert) {
      command.lm63Of2019 = true;
    } else if ((arg == "--lumens" || arg == "--peak") && command.kind == CommandKind::kConvert) {
      double value = 0.0;
      if (!hasValue || !ParsePositive(args[++i], value)) return fail(arg + " needs a positive number");
      if (command.lumens || command.peak) return fail("only one of --lumens and --peak can be given");
      (arg == "--lumens" ? command.lumens : command.peak) = value;
    } else if (arg == "-o" && command.kind != CommandKind::kInfo) {
      if (!hasValue || args[i + 1].empty()) return fail("-o needs a file name");
      if (command.out) return fail("-o is given twice");
      command.out = args[++i];
    } else {
      return fail("unknown option \"" + arg + "\" for " + name);
    }
  }
  if (command.files.empty()) return fail(name + " needs a FILE");
  if (command.kind != CommandKind::kInfo && !command.out) return fail(name + " needs -o");
  if (command.kind == CommandKind::kConvert && command.files.size() > 1) {
    return fail("convert takes one FILE");
  }
  if (command.lm63Of2019 && NamesEulumdat(*command.out)) {
    return fail("--lm63-2019 writes an .ies file, not " + *command.out);
  }
  decoded.command = std::move(command);
  return decoded;
}

// ---- 3. a console owner window: File > Open and Save without dialogs

// Save's file name is the one given on the command line; a message box
// becomes the message kept here for standard error.
class ConsoleOwner : public OwnerWindow {
 public:
  explicit ConsoleOwner(std::optional<std::string> saveName = std::nullopt,
                        SaveFormat format = SaveFormat::kIes)
      : saveName_(std::move(saveName)), format_(format) {}

  std::optional<std::string> ChooseSaveFile() override { return saveName_; }
  SaveFormat ChosenSaveFormat() const override { return format_; }
  std::optional<std::string> ChooseOpenFile() override { return std::nullopt; }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    text_ = text;
    caption_ = caption;
  }

  const std::string& text() const { return text_; }
  const std::string& caption() const { return caption_; }

 private:
  std::optional<std::string> saveName_;
  SaveFormat format_;
  std::string text_;
  std::string caption_;
};

// Shows `message` about `path` on standard error. The message names the
// file; a path with folders is given whole before it.
void ReportUnusable(const std::string& path, const std::string& message, Console& console) {
  const bool bareName = FileNameOf(path).size() == path.size();
  console.Err((bareName ? "" : path + ": ") + message + "\n");
}

// Opens `path` into `editor` as File > Open does; an unusable file is named
// with its message on standard error.
bool OpenFile(DistributionEditor& editor, const std::string& path, Console& console) {
  ConsoleOwner owner;
  if (editor.OpenIesFile(owner, path)) return true;
  ReportUnusable(path, owner.text(), console);
  return false;
}

// The numbers of the whole lamp in `path`, read as File > Open reads it. A
// file that cannot be read, or whose planes cannot be measured together, is
// named with its message on standard error; `message` receives that message.
std::optional<LampNumbers> MeasureFile(const std::string& path, Console& console,
                                       std::string& message) {
  ConsoleOwner owner;
  const std::optional<IesReadResult> read = ReadIesPath(owner, path);
  if (!read) {
    message = owner.text();
  } else {
    const LampMeasurement lamp =
        read->tableError.empty() ? MeasureLamp(read->photometry) : LampMeasurement{};
    if (lamp.numbers) return lamp.numbers;
    message = std::string(FileNameOf(path)) + " cannot be measured as a whole: " +
              (read->tableError.empty() ? lamp.error : read->tableError);
  }
  ReportUnusable(path, message, console);
  return std::nullopt;
}

// ---- 4. info, render, convert

int RunInfo(const Command& command, Console& console) {
  int status = kExitOk;
  bool blockShown = false;
  std::string out;
  for (const std::string& path : command.files) {
    out.clear();
    std::string message;
    const std::optional<LampNumbers> numbers = MeasureFile(path, console, message);
    if (!numbers) {
      status = kExitUnusable;
      if (command.json) AppendInfoJson(out, path, nullptr, message);
    } else if (command.json) {
      AppendInfoJson(out, path, &*numbers, {});
    } else {
      if (blockShown) out += '\n';  // a blank line between blocks
      AppendInfoText(out, path, *numbers);
      blockShown = true;
    }
    console.Out(out);
  }
  return status;
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(
      std::u8string_view(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

// "lamp.ies" -> "lamp.png"; a leading dot is part of the name.
std::string PictureName(const std::string& path) {
  std::string_view name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name) + ".png";
}

int RunRender(const Command& command, Console& console) {
  const std::string& out = *command.out;
  std::error_code error;
  const bool intoFolder =
      command.files.size() > 1 || std::filesystem::is_directory(PathOf(out), error);
  if (intoFolder) {
    std::filesystem::create_directories(PathOf(out), error);
    if (error || !std::filesystem::is_directory(PathOf(out), error)) {
      console.Err("Could not make the folder " + out + ".\n");
      return kExitUnusable;
    }
  }
  const bool endsInSeparator = out.back() == '/' || out.back() == '\\';

  int status = kExitOk;
  Image client(command.width, command.height);
  PngEncoder encoder;
  for (const std::string& path : command.files) {
    // As the window draws right after opening the file: the start view sized
    // to the client area, the curve read, the view fitted to it.
    DistributionEditor editor;
    editor.OnResize(command.width, command.height);
    if (!OpenFile(editor, path, console)) {
      status = kExitUnusable;
      continue;
    }
    FitViewToCurve(editor);
    DrawPolar(editor, client);
    DrawWall(editor, client);
    const std::string target =
        intoFolder ? out + (endsInSeparator ? "" : "/") + PictureName(path) : out;
    const std::string& png = encoder.Encode(client);
    std::error_code reason;
    if (png.empty()) {
      console.Err("Could not write " + target + ": the picture could not be encoded.\n");
      status = kExitUnusable;
    } else if (!ReplaceFileContents(target, png, reason)) {
      console.Err("Could not write " + target + ": " + reason.message() + ".\n");
      status = kExitUnusable;
    }
  }
  return status;
}

int RunConvert(const Command& command, Console& console) {
  DistributionEditor editor;
  const std::string& path = command.files.front();
  if (!OpenFile(editor, path, console)) return kExitUnusable;
  if (command.lumens || command.peak) {
    const std::optional<Curve> scaled = command.lumens ? ScaledToFlux(editor.curve, *command.lumens)
                                                       : ScaledToPeak(editor.curve, *command.peak);
    if (!scaled) {
      console.Err(path + ": the curve cannot be scaled: it gives no light, or too much.\n");
      return kExitUnusable;
    }
    editor.curve = *scaled;
  }
  const SaveFormat format = NamesEulumdat(*command.out) ? SaveFormat::kEulumdat
                            : command.lm63Of2019        ? SaveFormat::kIes2019
                                                        : SaveFormat::kIes;
  ConsoleOwner owner(command.out, format);
  editor.SaveIes(owner);
  if (!owner.text().empty()) {
    // Save's message alone ("IES Saving") does not say what failed: its
    // caption goes with it.
    console.Err(WithSaveExtension(*command.out, format) + ": " + owner.caption() + ": " +
                owner.text() + "\n");
    return kExitUnusable;
  }
  return kExitOk;
}

}  // namespace

int RunCli(std::span<const std::string> args, Console& console) {
  const Decoded decoded = Decode(args);
  if (decoded.early == EarlyExit::kHelp) {
    console.Out(std::string(kUsage) + std::string(kHelpText));
    return kExitOk;
  }
  if (decoded.early == EarlyExit::kVersion) {
    console.Out(std::string(kProgram) + " " + LUMISTRA_VERSION + "\n");
    return kExitOk;
  }
  if (!decoded.command) {
    console.Err(std::string(kProgram) + ": " + decoded.usageError + "\n" + std::string(kUsage));
    return kExitUsage;
  }
  const Command& command = *decoded.command;
  switch (command.kind) {
    case CommandKind::kInfo:
      return RunInfo(command, console);
    case CommandKind::kRender:
      return RunRender(command, console);
    case CommandKind::kConvert:
      return RunConvert(command, console);
  }
  return kExitUsage;
}
