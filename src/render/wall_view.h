#pragma once
// The right half: the grey-scale pool of light on the wall.

#include "editor/distribution_editor.h"
#include "editor/lamp.h"
#include "render/image.h"

// Draws columns halfWidth..2*halfWidth-1 of `client`, an image of the client
// area's size (clientWidth x clientHeight). Reads the editor only.
void DrawWall(const DistributionEditor& editor, Image& client);

// The ways of computing those same pixels: the formula for every pixel, or
// tables and symmetry with two, four or eight pixels at a time (for a lamp
// whose planes differ, TwoWide takes one at a time). Automatic takes the
// widest that the CPU has; a path it lacks falls back to TwoWide.
// The choice is there so that tests and benchmarks can set the paths side by
// side.
enum class WallPath { Automatic, Exact, TwoWide, FourWide, EightWide };
bool WallPathAvailable(WallPath path);
void DrawWall(const DistributionEditor& editor, Image& client, WallPath path);

// The wall lit by a whole lamp, the plane at `sectionC` facing it (the plane
// of the diagram's right half); the editor gives the client size, the zoom
// and the distance, the lamp the light. Each pixel takes the intensity from
// both its C-angle and its vertical angle (wall_geometry.h). A lamp whose
// planes are all equal gives exactly the pixels of its one curve.
void DrawWall(const DistributionEditor& editor, const Lamp& lamp, double sectionC, Image& client);
void DrawWall(const DistributionEditor& editor, const Lamp& lamp, double sectionC, Image& client, WallPath path);
