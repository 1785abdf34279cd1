#pragma once

#include "tools/modemart/lib/ArtPicture.h"

#include <filesystem>
#include <string>
#include <vector>

// One file of the manager's pictures: a strip of equal frames side by side (a single picture is a
// strip of one), the bytes to commit, and the images for looking at and checking.
struct TModemArtFile {
    std::string fileName;
    int frameWidth = 0;
    int frameHeight = 0;
    int frames = 1;
    std::vector<TArtPicture> images; // the strip; for the icon its images, largest first
    std::string bytes;
};

// Every picture of the modem manager, in the order of assets/modem/README.md.
[[nodiscard]] std::vector<TModemArtFile> DrawModemArt();

// Writes each file into `folder` (made when missing); raises std::runtime_error when one cannot be
// written.
void WriteModemArt(const std::vector<TModemArtFile>& files, const std::filesystem::path& folder);

// The pictures at their own size and enlarged `scale` times, on the usual button-face grey and on
// white, for looking at.
[[nodiscard]] TArtPicture ModemArtPreview(const std::vector<TModemArtFile>& files, int scale);
