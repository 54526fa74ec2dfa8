#pragma once
// How `info` shows a file's numbers: a labelled block for people, or one JSON
// object on one line for programs. Number text is locale independent.

#include <string>
#include <string_view>

#include "measure/curve_numbers.h"

// Appends the block for `file`:
//   lamp.ies
//     peak intensity  8512.000 cd at 0 degrees
//     luminous flux   4521.336 lm
//     beam angle      38.250 degrees
//     field angle     none
// (three decimals; "none" for an absent angle).
void AppendInfoText(std::string& out, std::string_view file, const CurveNumbers& numbers);

// Appends one JSON line (ending in "\n") with the keys file, ok, message,
// peak_cd, peak_angle, flux_lm, beam_angle and field_angle. A usable file has
// "ok":true and "message":null; an unusable one (numbers == nullptr) has
// "ok":false, its message, and null for every number. Numbers are in their
// shortest form that reads back as the same double.
void AppendInfoJson(std::string& out, std::string_view file, const CurveNumbers* numbers,
                    std::string_view message);

// `text` as a JSON string with its quotes. Bytes that are not UTF-8 (a Linux
// file name may hold any) become U+FFFD, so the line stays valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
