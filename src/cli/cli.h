#pragma once
// lumistra-cli: the command line's decoding and its commands, on the
// same core as the window programs. The entry function (main.cpp) turns the
// platform's arguments into UTF-8 and implements Console; the tests use a
// recording one.
//
//   lumistra-cli info [--json] FILE...           the lamp's numbers, from every plane
//   lumistra-cli check [--json] FILE...          what is wrong with each file, and how
//                                                each renderer will take it
//   lumistra-cli render [--size WxH] FILE... -o OUT  both views as PNG
//   lumistra-cli convert [--lm63-2019] [--beam B] [--lumens N | --peak N] FILE -o OUT
//                                                the curve as File > Save writes it,
//                                                EULUMDAT for OUT.ldt, its beam
//                                                stretched, then scaled first
//   lumistra-cli new --beam B [--lm63-2019] [--lumens N | --peak N] -o OUT
//                                                a new spot lamp, written as convert writes
//   lumistra-cli --help | --version
//
// Every FILE is read as File > Open reads it, one at a time. Exit status: 0
// when every file was usable, 1 when any was not (each named with its message
// on standard error, the others still handled) or an output could not be
// written (for check: when any file has an error), 2 for a usage error (the usage on standard error), which includes
// an output that is one of the inputs and two inputs that would give one
// picture: these are refused before anything is written.

#include <span>
#include <string>
#include <string_view>

class Console {
 public:
  virtual ~Console() = default;
  virtual void Out(std::string_view text) = 0;  // standard output
  virtual void Err(std::string_view text) = 0;  // standard error

 protected:
  Console() = default;
  Console(const Console&) = default;
  Console& operator=(const Console&) = default;
};

inline constexpr int kExitOk = 0;
inline constexpr int kExitUnusable = 1;
inline constexpr int kExitUsage = 2;

// Runs the command line `args` (UTF-8, without the program's name) and
// returns the exit status.
int RunCli(std::span<const std::string> args, Console& console);
