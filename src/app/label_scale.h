#pragma once
// The scale of the polar diagram's ring labels on a screen of a given pixel
// density, the same in both programs (the Linux program's device pixel
// ratio, the Windows program's DPI / 96).

// Whole pixels per font pixel, never more than the ratio, so that labels grow
// no faster than the rings they name (at 1.5 they keep their size in device
// pixels; at 2 they double). A ratio of 2 that arrives as 1.9999999 counts as 2.
int LabelScale(double pixelRatio);
