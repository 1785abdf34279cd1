#pragma once

class TCustomImageList;

// The wizard's four 16-pixel button glyphs, drawn into `images` by index: 0 browse and help (a
// magnifying glass), 1 next (an arrow), 2 cancel (a cross), 3 finish (a tick).
void DrawInstallerGlyphs(TCustomImageList& images);
