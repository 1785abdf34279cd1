#include "tools/modemart/lib/ModemArt.h"

#include "tools/modemart/lib/ModemGlyphs.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

using namespace ModemPalette;

namespace {

constexpr int SignalWidth = 24, SignalHeight = 16;
constexpr int SignalBars = 5;
constexpr int TileSide = 48;
constexpr int KeyWidth = 56, KeyHeight = 32;
constexpr int SplashWidth = 320, SplashHeight = 160, SplashBand = 32;
// How much of the surface shows through an empty signal bar.
constexpr double GhostOpacity = 0.55;

using TFrameDrawing = std::function<TArtPicture(int frame)>;

TModemArtFile Strip(std::string fileName, int width, int height, int frames, const TFrameDrawing& draw)
{
    TArtPicture strip(width * frames, height);
    for (int frame = 0; frame < frames; ++frame)
        strip.Over(draw(frame), frame * width, 0);
    TModemArtFile file{std::move(fileName), width, height, frames, {strip}, EncodePng(strip)};
    return file;
}

TModemArtFile Single(std::string fileName, int width, int height, const TArtDrawing& draw)
{
    return Strip(std::move(fileName), width, height, 1, [&](int) { return PaintRgba(width, height, draw); });
}

// Bars 1 .. `lit` in green, the rest as empty slots; picture 0 has every slot empty.
TArtPicture SignalBarsPicture(int lit)
{
    const auto bars = [](int from, int to, const TArtTone& tone) {
        return PaintRgba(SignalWidth, SignalHeight, [=](TArtCanvas& art) {
            for (int i = from; i < to; ++i) {
                const double left = i * 5, height = 4 + 3 * i;
                Lit(art, RoundedBox(left, SignalHeight - height, left + 4, SignalHeight, 1), tone);
            }
        });
    };
    TArtPicture picture(SignalWidth, SignalHeight);
    picture.Over(bars(lit, SignalBars, Ghost), 0, 0, GhostOpacity);
    picture.Over(bars(0, lit, Green), 0, 0);
    return picture;
}

TModemArtFile SignalImageList()
{
    return Strip("ILSignal.png", SignalWidth, SignalHeight, 7, [](int frame) {
        if (frame <= SignalBars)
            return SignalBarsPicture(frame);
        return PaintRgba(SignalWidth, SignalHeight, [](TArtCanvas& art) { DrawEnvelope(art, {0.5, 4, 0}, true); });
    });
}

// Normal, hot and down: the pictogram alone, on a light tile, on a pressed tile one pixel lower.
TModemArtFile PageButton(std::string fileName, void (*glyph)(TArtCanvas&, const TPlacement&))
{
    return Strip(std::move(fileName), TileSide, TileSide, 3, [glyph](int frame) {
        return PaintRgba(TileSide, TileSide, [=](TArtCanvas& art) {
            if (frame > 0)
                art.Box(Rect(0, 0, TileSide, TileSide), 7, frame == 1 ? TileHot : TileDown);
            const double offset = frame == 2 ? 9 : 8;
            glyph(art, {1.0, offset, offset});
        });
    });
}

TModemArtFile DialKey()
{
    return Strip("DialKey.png", KeyWidth, KeyHeight, 3, [](int frame) {
        const TFaceLook looks[] = {KeyNormal, KeyHot, KeyDown};
        return PaintRgba(KeyWidth, KeyHeight,
                         [&](TArtCanvas& art) { art.Box(Rect(0, 0, KeyWidth, KeyHeight), 6, looks[frame]); });
    });
}

// The share of a pixel centred at distance `d` from the rings' centre that the nearest ring covers.
double RingCoverage(double d)
{
    constexpr double First = 66, Pitch = 26, Width = 3, Rings = 9;
    const double ring = std::clamp(std::round((d - First) / Pitch), 0.0, Rings - 1);
    const double middle = First + ring * Pitch + Width / 2;
    return std::clamp(Width / 2 + 0.5 - std::abs(d - middle), 0.0, 1.0);
}

void DrawSplash(TArtCanvas& art)
{
    const int artBottom = SplashHeight - SplashBand;
    // The backdrop with faint rings spreading from the modem's aerial, worked out per pixel: the
    // canvas's line fills and shape tests are far slower for a picture this size.
    const double cx = 30 + 19 * 3.5, cy = 6 + 11.5 * 3.5;
    for (int y = 0; y < artBottom; ++y)
        for (int x = 0; x < SplashWidth; ++x) {
            const TColor night = Mix(NightTop, NightBottom, double(y) / (artBottom - 1));
            const double ring = RingCoverage(std::hypot(x + 0.5 - cx, y + 0.5 - cy));
            art.Pixel(x, y, Mix(night, Mix(night, White, 0.09), ring));
        }
    DrawModemStick(art, {3.5, 30, 6}, Blue.light);
    for (int i = 0; i < SignalBars; ++i) {
        const double left = 200 + i * 20, height = 20 + 16 * i;
        Lit(art, RoundedBox(left, 108 - height, left + 14, 108, 3), Green);
    }
    art.Fill(Rect(0, artBottom, SplashWidth, SplashHeight), Band);
    art.HLine(0, SplashWidth, artBottom, Mix(NightBottom, Band, 0.5));
}

TModemArtFile ProgramIcon()
{
    std::vector<TArtPicture> images;
    images.push_back(PaintRgba(32, 32, [](TArtCanvas& art) { DrawModemStick(art, {}); }));
    images.push_back(PaintRgba(16, 16, DrawSmallModemStick));
    std::string bytes = EncodeIcon(images);
    return {"MAINICON.ico", 32, 32, 1, std::move(images), std::move(bytes)};
}

TArtPicture Ground(int width, int height, TColor colour)
{
    TArtPicture ground(width, height);
    const TArtPixel pixel{static_cast<std::uint8_t>(colour & 0xFF), static_cast<std::uint8_t>((colour >> 8) & 0xFF),
                          static_cast<std::uint8_t>((colour >> 16) & 0xFF), 255};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ground.At(x, y) = pixel;
    return ground;
}

TArtPicture Enlarged(const TArtPicture& image, int scale)
{
    TArtPicture large(image.Width() * scale, image.Height() * scale);
    for (int y = 0; y < large.Height(); ++y)
        for (int x = 0; x < large.Width(); ++x)
            large.At(x, y) = image.At(x / scale, y / scale);
    return large;
}

} // namespace

std::vector<TModemArtFile> DrawModemArt()
{
    std::vector<TModemArtFile> files;
    files.push_back(ProgramIcon());
    files.push_back(Single("Splash.png", SplashWidth, SplashHeight, DrawSplash));
    files.push_back(PageButton("BModem.png", [](TArtCanvas& art, const TPlacement& at) { DrawModemStick(art, at); }));
    files.push_back(PageButton("BSMS.png", DrawSpeechBubble));
    files.push_back(PageButton("BCallM.png", DrawHandset));
    files.push_back(PageButton("BPBM.png", DrawAddressBook));
    files.push_back(SignalImageList());
    files.push_back(Strip("ILMute.png", 24, 24, 2, [](int frame) {
        return PaintRgba(24, 24, [frame](TArtCanvas& art) { DrawSpeaker(art, {0.75, 0, 0}, frame == 1); });
    }));
    files.push_back(DialKey());
    files.push_back(Single("CloseImage.png", 16, 16, [](TArtCanvas& art) { DrawCloseMark(art, {0.5, 0, 0}); }));
    files.push_back(Strip("SmsMarks.png", 16, 16, 2, [](int frame) {
        return PaintRgba(16, 16, [frame](TArtCanvas& art) { DrawEnvelope(art, {0.5, 0, 0}, frame == 0); });
    }));
    files.push_back(Strip("CallMarks.png", 16, 16, 3, [](int frame) {
        return PaintRgba(16, 16, [frame](TArtCanvas& art) { DrawCallArrow(art, {0.5, 0, 0}, static_cast<TCallKind>(frame)); });
    }));
    return files;
}

TArtPicture ModemArtPreview(const std::vector<TModemArtFile>& files, int scale)
{
    constexpr int Margin = 8;
    std::vector<TArtPicture> pictures;
    for (const TModemArtFile& file : files)
        for (const TArtPicture& image : file.images)
            pictures.push_back(image);
    // Large pictures are enlarged less, so that none grows beyond about 400 pixels.
    const auto scaleOf = [scale](const TArtPicture& picture) { return std::clamp(400 / picture.Width(), 1, scale); };
    int width = 0, height = Margin;
    for (const TArtPicture& picture : pictures) {
        width = std::max(width, (Margin * 3 + picture.Width() * (1 + scaleOf(picture))) * 2);
        height += picture.Height() * scaleOf(picture) + Margin;
    }
    TArtPicture preview = Ground(width, height, Rgb(212, 208, 200));
    preview.Over(Ground(width / 2, height, White), width / 2, 0);
    int top = Margin;
    for (const TArtPicture& picture : pictures) {
        const TArtPicture large = Enlarged(picture, scaleOf(picture));
        for (const int half : {0, width / 2}) {
            preview.Over(picture, half + Margin, top);
            preview.Over(large, half + Margin * 2 + picture.Width(), top);
        }
        top += large.Height() + Margin;
    }
    return preview;
}

void WriteModemArt(const std::vector<TModemArtFile>& files, const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    for (const TModemArtFile& file : files) {
        std::ofstream out(folder / file.fileName, std::ios::binary);
        out.write(file.bytes.data(), static_cast<std::streamsize>(file.bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + (folder / file.fileName).string());
    }
}
