#pragma once
// What the renderers will do with an LM-63 file, as warnings naming them,
// from the documented behaviour of their loaders:
//   - Unreal and Unity load only TILT=NONE;
//   - Unity cannot read numbers in exponent form (1.5E+03);
//   - Unreal accepts nothing after the candela values but END;
//   - Blender Cycles, three.js and Babylon.js multiply LM-63-2019's
//     file-generation type into the candela, as they did the ballast-lamp
//     factor in its place, where Unreal and Unity do not;
//   - Unreal averages the planes into one rotational curve and three.js
//     (with glTF's EXT_lights_ies there) takes the first plane alone.
// A file that reads alike everywhere gets none.

#include "check/findings.h"
#include "check/lm63_check.h"
#include "files/photometry.h"

// `table` is the file as the reader gives it, or null when it cannot be read.
void AddRendererNotes(const Lm63Facts& facts, const Photometry* table, Findings& findings);
