#pragma once
// The right half: the grey-scale pool of light on the wall.

#include "editor/distribution_editor.h"
#include "render/image.h"

// Draws columns halfWidth..2*halfWidth-1 of `client`, an image of the client
// area's size (clientWidth x clientHeight). Reads the editor only.
void DrawWall(const DistributionEditor& editor, Image& client);
