#pragma once
// The left half: black field, angle grid, logarithmic rings with labels, and
// the mirrored curve with its markers.

#include "editor/distribution_editor.h"
#include "render/image.h"

// Draws columns 0..halfWidth-1 of `client`, an image of the client area's
// size (clientWidth x clientHeight). Reads the editor only. `labelScale`
// enlarges the ring labels' font on screens of several device pixels per
// point; at 1 both programs draw the same pixels.
void DrawPolar(const DistributionEditor& editor, Image& client, int labelScale = 1);
