#pragma once
// The Win32 edge of the program's text: inside, text and paths are UTF-8;
// the wide (UTF-16) Win32 calls get and give UTF-16.

#include <string>
#include <string_view>

std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
