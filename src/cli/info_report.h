#pragma once
// How `info` shows a file's numbers: a labelled block for people, or one JSON
// object on one line for programs. Number text is locale independent.

#include <string>
#include <string_view>

#include "measure/lamp_numbers.h"

// Appends the block for `file`:
//   lamp.ies
//     planes          12 (symmetric in each quadrant)
//     peak intensity  8512.000 cd at C 90, gamma 2.5 degrees
//     luminous flux   4521.336 lm
//     rated lamp flux 5000.000 lm
//     light output ratio 0.904
//     beam angle      38.250 degrees
//     field angle     none
// (three decimals; "none" for an absent angle; the angles of the peak as
// the file lists them; the rated lamp flux and the ratio only when the file
// gives lumens).
void AppendInfoText(std::string& out, std::string_view file, const LampNumbers& numbers);

// Appends one JSON line (ending in "\n") with the keys file, ok, message,
// peak_cd, peak_angle (its vertical angle), flux_lm, beam_angle, field_angle,
// planes, symmetry ("rotational", "quadrant", "bilateral-0-180",
// "bilateral-90-270" or "none"), peak_c (the peak's horizontal angle),
// lamp_lumens and lor (null without lumens). A usable file has "ok":true and
// "message":null; an unusable one (numbers == nullptr) has "ok":false, its
// message, and null for every number. Numbers are in their shortest form
// that reads back as the same value: the peak and its angles as the floats
// the file lists, the rest as doubles.
void AppendInfoJson(std::string& out, std::string_view file, const LampNumbers* numbers,
                    std::string_view message);

// The numbers' members of that line, from "peak_cd" to "lor", without
// braces or an outer comma; all null without numbers.
void AppendInfoJsonNumbers(std::string& out, const LampNumbers* numbers);

// `text` as a JSON string with its quotes. Bytes that are not UTF-8 (a Linux
// file name may hold any) become U+FFFD, so the line stays valid JSON.
void AppendJsonString(std::string& out, std::string_view text);
