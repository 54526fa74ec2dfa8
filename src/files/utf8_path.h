#pragma once
// Paths travel through the program as UTF-8 strings on every platform. These
// turn one into what the system's file calls take: on Windows the wide (UTF-16)
// calls, so that a name in any script opens, whatever the ANSI code page is.

#include <cstdio>
#include <filesystem>
#include <string_view>

// The path named by `utf8`. On Windows the text is converted from UTF-8;
// bytes that are not UTF-8 give an empty path, which names no file.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// std::fopen for a UTF-8 path (_wfopen on Windows). `mode` as for std::fopen.
std::FILE* OpenUtf8(std::string_view utf8, const char* mode);

// std::fopen for a path (_wfopen on Windows).
std::FILE* OpenPath(const std::filesystem::path& path, const char* mode);
