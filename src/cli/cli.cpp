// Sections:
//   1. texts and the decoded command line
//   2. decoding the arguments
//   3. where the outputs go, refused before anything is written
//   4. a console owner window: File > Open without a dialog
//   5. info, check, render, convert, new
#include "cli/cli.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "check/file_check.h"
#include "cli/check_report.h"
#include "cli/info_report.h"
#include "cli/png_image.h"
#include "app/document.h"
#include "editor/distribution_editor.h"
#include "editor/fit_view.h"
#include "files/file_commands.h"
#include "files/ies_format.h"
#include "files/owner_window.h"
#include "files/safe_save.h"
#include "files/utf8_path.h"
#include "measure/lamp_numbers.h"
#include "measure/lamp_shaping.h"
#include "render/image.h"
#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {

// ---- 1. texts and the decoded command line

constexpr std::string_view kProgram = "lumistra-cli";

constexpr std::string_view kUsage =
    "Usage: lumistra-cli info [--json] FILE...\n"
    "       lumistra-cli check [--json] FILE...\n"
    "       lumistra-cli render [--size WxH] FILE... -o OUT\n"
    "       lumistra-cli convert [--lm63-2019] [--beam B] [--lumens N | --peak N] FILE -o OUT\n"
    "       lumistra-cli new --beam B [--lm63-2019] [--lumens N | --peak N] -o OUT\n"
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
    "  check    what is wrong with each file and how each renderer will take it:\n"
    "           its format, then errors and warnings, each with its rule; with\n"
    "           --json one JSON object per file per line, with info's numbers\n"
    "  render   both views as PNG, as Lumistra shows them after opening the file\n"
    "           in a window of W x H pixels (default 800x400); with one FILE,\n"
    "           OUT is the picture's name, with several a folder (<name>.png each)\n"
    "  convert  the curve written as File > Save writes it: as EULUMDAT when OUT\n"
    "           ends in .ldt, otherwise as LM-63 (.ies); --lm63-2019 writes a\n"
    "           standard LM-63-2019 file; --beam B first stretches or squeezes\n"
    "           the gamma angles to a beam of B degrees (2 to 170), the peak kept;\n"
    "           then --lumens N scales the curve to a flux of N lm, --peak N to a\n"
    "           peak of N cd\n"
    "  new      a new spot lamp of a beam of B degrees (2 to 170) and 1000 lm,\n"
    "           or --lumens N, or a peak of --peak N cd, written as convert writes\n"
    "\n"
    "Options:\n"
    "  -h, --help     Displays help on commandline options.\n"
    "  -v, --version  Displays version information.\n"
    "\n"
    "Exit status: 0 when every file was usable, 1 when any was not (for check:\n"
    "when any has an error), 2 for a usage error.\n";

enum class CommandKind { kInfo, kCheck, kRender, kConvert, kNew };

struct Command {
  CommandKind kind = CommandKind::kInfo;
  bool json = false;
  int width = 800;  // the window's client area for render
  int height = 400;
  std::vector<std::string> files;
  std::optional<std::string> out;
  bool lm63Of2019 = false;  // convert, new: a standard LM-63-2019 file
  LampShaping shaping;      // convert, new: the beam, then the flux or the peak
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
  return WithSaveExtension(name, SaveFormat::kEulumdat) == name;
}

// The options that take the next argument as their value, whatever it looks
// like ("-o -h" names a file "-h").
bool TakesValue(std::string_view arg) {
  return arg == "-o" || arg == "--size" || arg == "--lumens" || arg == "--peak" || arg == "--beam";
}

// The commands that write a lamp file.
bool WritesLamp(CommandKind kind) { return kind == CommandKind::kConvert || kind == CommandKind::kNew; }

bool IsShapingOption(std::string_view arg) {
  return arg == "--beam" || arg == "--lumens" || arg == "--peak";
}

// Takes --beam B, --lumens N or --peak N into `shaping`; `value` is the next
// argument, or null when there is none. Returns why it cannot be used, or
// nothing.
std::string DecodeShaping(const std::string& option, const std::string* value, LampShaping& shaping) {
  double number = 0.0;
  if (option == "--beam") {
    if (value == nullptr || !ParsePositive(*value, number) || number < kMinBeamAngle ||
        number > kMaxBeamAngle) {
      return "--beam needs a number from 2 to 170";
    }
    if (shaping.beamAngle) return "--beam is given twice";
    shaping.beamAngle = number;
    return {};
  }
  if (value == nullptr || !ParsePositive(*value, number)) return option + " needs a positive number";
  if (shaping.lumens || shaping.peakCd) return "only one of --lumens and --peak can be given";
  (option == "--lumens" ? shaping.lumens : shaping.peakCd) = number;
  return {};
}

// render, convert and new write files (-o); info and check report on the console.
bool WritesFiles(CommandKind kind) {
  return kind == CommandKind::kRender || WritesLamp(kind);
}

Decoded Decode(std::span<const std::string> args) {
  Decoded decoded;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") break;
    if (TakesValue(arg)) ++i;
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
  } else if (name == "check") {
    command.kind = CommandKind::kCheck;
  } else if (name == "render") {
    command.kind = CommandKind::kRender;
  } else if (name == "convert") {
    command.kind = CommandKind::kConvert;
  } else if (name == "new") {
    command.kind = CommandKind::kNew;
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
    } else if (arg == "--json" && !WritesFiles(command.kind)) {
      command.json = true;
    } else if (arg == "--size" && command.kind == CommandKind::kRender) {
      if (!hasValue || !ParseSize(args[++i], command.width, command.height)) {
        return fail("--size needs WxH, each side 1 to 32767 pixels");
      }
    } else if (WritesLamp(command.kind) && IsShapingOption(arg)) {
      if (const std::string why = DecodeShaping(arg, hasValue ? &args[++i] : nullptr, command.shaping);
          !why.empty()) {
        return fail(why);
      }
    } else if (arg == "--lm63-2019" && WritesLamp(command.kind)) {
      command.lm63Of2019 = true;
    } else if (arg == "-o" && WritesFiles(command.kind)) {
      if (!hasValue || args[i + 1].empty()) return fail("-o needs a file name");
      if (command.out) return fail("-o is given twice");
      command.out = args[++i];
    } else {
      return fail("unknown option \"" + arg + "\" for " + name);
    }
  }
  if (command.kind == CommandKind::kNew) {
    if (!command.files.empty()) return fail("new takes no FILE");
    if (!command.shaping.beamAngle) return fail("new needs --beam");
  } else if (command.files.empty()) {
    return fail(name + " needs a FILE");
  }
  if (WritesFiles(command.kind) && !command.out) return fail(name + " needs -o");
  if (command.kind == CommandKind::kConvert && command.files.size() > 1) {
    return fail("convert takes one FILE");
  }
  if (command.lm63Of2019 && NamesEulumdat(*command.out)) {
    return fail("--lm63-2019 writes an .ies file, not " + *command.out);
  }
  decoded.command = std::move(command);
  return decoded;
}

// ---- 3. where the outputs go, refused before anything is written

// "lamp.ies" -> "lamp.png"; a leading dot is part of the name.
std::string PictureName(const std::string& path) {
  std::string_view name = FileNameOf(path);
  const size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name) + ".png";
}

// render writes one picture per FILE into the folder OUT when there are
// several files or OUT is a folder already; otherwise the picture is OUT.
bool RenderIntoFolder(const Command& command) {
  std::error_code error;
  return command.files.size() > 1 || std::filesystem::is_directory(PathFromUtf8(*command.out), error);
}

// The file written for each of command.files, in their order.
// What convert writes: EULUMDAT for an output named .ldt, otherwise LM-63.
SaveFormat ConvertFormat(const Command& command) {
  if (NamesEulumdat(*command.out)) return SaveFormat::kEulumdat;
  return command.lm63Of2019 ? SaveFormat::kIes2019 : SaveFormat::kIes;
}

std::vector<std::string> OutputNames(const Command& command) {
  const std::string& out = *command.out;
  if (WritesLamp(command.kind)) return {WithSaveExtension(out, ConvertFormat(command))};
  if (!RenderIntoFolder(command)) return {WithExtension(out, ".png")};
  const bool endsInSeparator = out.back() == '/' || out.back() == '\\';
  std::vector<std::string> names;
  for (const std::string& path : command.files) {
    names.push_back(out + (endsInSeparator ? "" : "/") + PictureName(path));
  }
  return names;
}

// Picture names that differ only in letter case are one file on Windows and
// macOS, so they count as the same name everywhere.
bool SameNameAnyCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, {}, lower, lower);
}

// Why the outputs cannot be written as asked, or nothing: an output that is
// one of the inputs (the same file by the system's account, so links and
// case-insensitive names count), or two inputs that would give the same
// picture.
std::string WhyOutputsRefused(const Command& command, const std::vector<std::string>& outputs) {
  for (const std::string& output : outputs) {
    for (const std::string& input : command.files) {
      std::error_code error;
      if (std::filesystem::equivalent(PathFromUtf8(input), PathFromUtf8(output), error)) {
        return "the output " + output + " is the input " + input;
      }
    }
  }
  if (outputs.size() != command.files.size()) return {};
  for (size_t i = 0; i < outputs.size(); ++i) {
    for (size_t j = i + 1; j < outputs.size(); ++j) {
      if (SameNameAnyCase(outputs[i], outputs[j])) {
        return command.files[i] + " and " + command.files[j] + " would both be written to " +
               outputs[i];
      }
    }
  }
  return {};
}

// Writes `bytes` as the file `path` (as given on the command line), or says
// on standard error why it could not.
bool WriteOutput(const std::string& path, std::string_view bytes, Console& console) {
  std::error_code reason;
  if (ReplaceFileContents(path, bytes, reason)) return true;
  console.Err(std::string(kProgram) + ": cannot write " + path + ": " + reason.message() + "\n");
  return false;
}

// ---- 4. a console owner window: File > Open without a dialog

// A message box becomes the message kept here for standard error.
class ConsoleOwner : public OwnerWindow {
 public:
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view text, std::string_view) override { text_ = text; }
  // Nothing is saved through this owner; the command line names what it writes.
  bool AskYesNo(std::string_view, std::string_view) override { return true; }

  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Shows `message` about `path` on standard error. The message names the
// file; a path with folders is given whole before it.
void ReportUnusable(const std::string& path, const std::string& message, Console& console) {
  const bool bareName = FileNameOf(path).size() == path.size();
  console.Err((bareName ? "" : path + ": ") + message + "\n");
}

// Opens `path` into `document` as File > Open does; an unusable file is
// named with its message on standard error.
bool OpenFile(Document& document, const std::string& path, Console& console) {
  ConsoleOwner owner;
  std::optional<PhotometricFile> file = ReadPhotometricPath(owner, path);
  if (!file) {
    ReportUnusable(path, owner.text(), console);
    return false;
  }
  document.Open(path, std::move(*file));
  return true;
}

// The numbers of the whole lamp in `path`, read as File > Open reads it. A
// file that cannot be read, or whose planes cannot be measured together, is
// named with its message on standard error; `message` receives that message.
std::optional<LampNumbers> MeasureFile(const std::string& path, Console& console,
                                       std::string& message) {
  ConsoleOwner owner;
  const std::optional<PhotometricFile> read = ReadPhotometricPath(owner, path);
  if (!read) {
    message = owner.text();
  } else {
    const LampMeasurement lamp =
        read->tableError.empty() ? MeasureLamp(read->table) : LampMeasurement{};
    if (lamp.numbers) return lamp.numbers;
    message = std::string(FileNameOf(path)) + " cannot be measured as a whole: " +
              (read->tableError.empty() ? lamp.error : read->tableError);
  }
  ReportUnusable(path, message, console);
  return std::nullopt;
}

// ---- 5. info, check, render, convert

// What a console would have shown, kept to be shown in the files' order.
class KeptConsole : public Console {
 public:
  void Out(std::string_view text) override { text_ += text; }
  void Err(std::string_view text) override { text_ += text; }
  std::string& text() { return text_; }

 private:
  std::string text_;
};

// Renders `path` into the picture `target` as the window draws right after
// opening the file: the start view sized to the client area, the curve
// read, the view fitted to it. False, said on `console`, when the file is
// unusable or the picture cannot be written.
bool RenderFile(const std::string& path, const std::string& target, Image& client,
                PngEncoder& encoder, Console& console) {
  DistributionEditor editor;
  editor.OnResize(client.width, client.height);
  Document document;
  if (!OpenFile(document, path, console)) return false;
  document.ShowSection(editor.curve, editor.leftCurve);
  FitViewToCurve(editor);
  DrawPolar(editor, client);
  DrawWall(editor, document.lamp(), document.sectionC(), client);
  const std::string& png = encoder.Encode(client);
  if (png.empty()) {
    console.Err(std::string(kProgram) + ": cannot write " + target +
                ": the picture could not be encoded\n");
    return false;
  }
  return WriteOutput(target, png, console);
}

struct RenderedFile {
  bool usable = false;
  std::string messages;  // for standard error
};

// The threads that render files side by side: one per core, fewer for few
// files, and no more pictures in memory at once than about 1 GiB holds.
unsigned RenderThreads(const Command& command) {
  constexpr int64_t kPicturesBytes = int64_t{1} << 30;
  const int64_t pictureBytes = int64_t{command.width} * command.height * 4;
  const int64_t fit = std::max<int64_t>(1, kPicturesBytes / pictureBytes);
  const int64_t cores = std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(
      std::min({cores, fit, static_cast<int64_t>(command.files.size())}));
}

// Every file of `command` rendered into outputs[i]; each file is encoded
// and written whole by one thread, so its picture is the same as on one
// core, and what it says is kept in the files' order.
std::vector<RenderedFile> RenderFiles(const Command& command, const std::vector<std::string>& outputs) {
  std::vector<RenderedFile> rendered(command.files.size());
  std::atomic<size_t> next = 0;
  const auto work = [&] {
    Image client(command.width, command.height);
    PngEncoder encoder;
    for (size_t i = next++; i < rendered.size(); i = next++) {
      KeptConsole console;
      rendered[i].usable = RenderFile(command.files[i], outputs[i], client, encoder, console);
      rendered[i].messages = std::move(console.text());
    }
  };
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < RenderThreads(command); ++t) {
    try {
      helpers.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no thread to spare: the ones started take the files
    }
  }
  work();
  for (std::thread& helper : helpers) helper.join();
  return rendered;
}

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

// The findings of each file; status 1 when any file has an error.
int RunCheck(const Command& command, Console& console) {
  int status = kExitOk;
  bool blockShown = false;
  std::string out;
  for (const std::string& path : command.files) {
    out.clear();
    const FileCheck check = CheckFilePath(path);
    if (check.HasError()) status = kExitUnusable;
    if (command.json) {
      AppendCheckJson(out, path, check);
    } else {
      if (blockShown) out += '\n';  // a blank line between blocks
      AppendCheckText(out, path, check);
      blockShown = true;
    }
    console.Out(out);
  }
  return status;
}

int RunRender(const Command& command, const std::vector<std::string>& outputs, Console& console) {
  const std::string& out = *command.out;
  if (RenderIntoFolder(command)) {
    std::error_code error;
    std::filesystem::create_directories(PathFromUtf8(out), error);
    if (error || !std::filesystem::is_directory(PathFromUtf8(out), error)) {
      console.Err("Could not make the folder " + out + ".\n");
      return kExitUnusable;
    }
  }

  const std::vector<RenderedFile> rendered = RenderFiles(command, outputs);
  int status = kExitOk;
  for (const RenderedFile& file : rendered) {
    if (!file.messages.empty()) console.Err(file.messages);
    if (!file.usable) status = kExitUnusable;
  }
  return status;
}

// The bytes File > Save writes for the document's lamp, under Save's name
// rule; what the format has no place for is said on standard error first.
int WriteLampFile(const Command& command, Document& document,
                  const std::vector<std::string>& outputs, Console& console) {
  const std::string& out = outputs.front();
  const SaveFormat format = ConvertFormat(command);
  if (const std::string left = document.NotWritten(format); !left.empty()) {
    console.Err(std::string(kProgram) + ": " + out + ": " + left + "\n");
  }
  return WriteOutput(out, document.Bytes(format, out), console) ? kExitOk : kExitUnusable;
}

// The file's lamp, stretched and scaled as asked, written again.
int RunConvert(const Command& command, const std::vector<std::string>& outputs, Console& console) {
  Document document;
  const std::string& path = command.files.front();
  if (!OpenFile(document, path, console)) return kExitUnusable;
  const LampResult shaped = ShapedLamp(document.lamp(), command.shaping);
  if (!shaped.lamp) {
    console.Err(path + ": " + shaped.error + "\n");
    return kExitUnusable;
  }
  // A stretched beam is another light; a lamp only scaled is the file's in
  // another amount.
  if (command.shaping.beamAngle) {
    document.lamp() = *shaped.lamp;
  } else {
    document.Scale(*shaped.lamp);
  }
  return WriteLampFile(command, document, outputs, console);
}

// A new spot of the beam asked, of 1000 lm unless a flux or a peak is asked,
// written as File > Save writes a drawn lamp.
int RunNew(const Command& command, const std::vector<std::string>& outputs, Console& console) {
  constexpr double kNewLampLumens = 1000.0;
  const LampShaping& asked = command.shaping;
  const LampResult spot = NewSpotLamp(*asked.beamAngle, asked.lumens.value_or(kNewLampLumens));
  const LampResult shaped = spot.lamp && asked.peakCd ? LampScaledToPeak(*spot.lamp, *asked.peakCd) : spot;
  if (!shaped.lamp) {
    console.Err(std::string(kProgram) + ": " + shaped.error + "\n");
    return kExitUnusable;
  }
  Document document;
  document.StartNew(*shaped.lamp);
  return WriteLampFile(command, document, outputs, console);
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
  const auto usageError = [&console](const std::string& why) {
    console.Err(std::string(kProgram) + ": " + why + "\n" + std::string(kUsage));
    return kExitUsage;
  };
  if (!decoded.command) return usageError(decoded.usageError);
  const Command& command = *decoded.command;
  if (command.kind == CommandKind::kInfo) return RunInfo(command, console);
  if (command.kind == CommandKind::kCheck) return RunCheck(command, console);
  const std::vector<std::string> outputs = OutputNames(command);
  if (const std::string why = WhyOutputsRefused(command, outputs); !why.empty()) {
    return usageError(why);
  }
  switch (command.kind) {
    case CommandKind::kInfo:
    case CommandKind::kCheck:
      break;
    case CommandKind::kRender:
      return RunRender(command, outputs, console);
    case CommandKind::kConvert:
      return RunConvert(command, outputs, console);
    case CommandKind::kNew:
      return RunNew(command, outputs, console);
  }
  return kExitUsage;
}
