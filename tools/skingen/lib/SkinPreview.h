#pragma once

#include "tools/skingen/lib/SkinBuilder.h"

#include <memory>

// A mock-up of a skinned 424 x 374 window drawn from the generated bitmaps, for looking at the
// skin as a whole after changing it. It composes the images with a plain nine-part stretch of its
// own; the real drawing is the skin engine's.
[[nodiscard]] std::unique_ptr<TBitmap> RenderPreview(const TSkinBuilder& skin);
