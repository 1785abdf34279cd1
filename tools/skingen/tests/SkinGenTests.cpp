// The generated skin is complete for the skin engine's reader, its bitmaps have the frame layouts
// the engine cuts them by, and the committed assets are exactly what the code draws.

#include "tools/skingen/lib/ArtCanvas.h"
#include "tools/skingen/lib/SkinArt.h"

#include "skin/QuickIni.h"
#include "skin/SkinReader.h"
#include "tests/support/TempDir.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/core/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path Assets = fs::path(MODEM_SOURCE_DIR) / "assets" / "skin";

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::set<std::string> FilesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

class GeneratedSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_skin = new TSkinBuilder;
        GenerateSkin(*s_skin);
        s_resources = new TSkinBuilder;
        GenerateResources(*s_resources);
    }
    static void TearDownTestSuite()
    {
        delete s_skin;
        delete s_resources;
    }

    static std::optional<std::string> Value(const std::string& section, const std::string& key)
    {
        for (const auto& s : s_skin->Sections())
            if (s.name == section)
                for (const auto& [k, v] : s.keys)
                    if (k == key)
                        return v;
        return std::nullopt;
    }
    static int Integer(const std::string& section, const std::string& key) { return std::stoi(Value(section, key).value()); }

    // The loaded bitmap a key names, as the engine would load it from the skin folder.
    std::unique_ptr<TBitmap> Load(const std::string& section, const std::string& key)
    {
        const auto file = Value(section, key);
        if (!file || file->empty())
            return nullptr;
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromFile((m_folder / *file).string());
        return bitmap;
    }

    void SetUp() override { s_skin->WriteTo(m_folder, SkinIniName); }

    static TSkinBuilder* s_skin;
    static TSkinBuilder* s_resources;
    TempDir m_temp;
    fs::path m_folder = m_temp.Path() / "skin";
};

TSkinBuilder* GeneratedSkin::s_skin = nullptr;
TSkinBuilder* GeneratedSkin::s_resources = nullptr;

const std::vector<std::string> ElementKeys = {"Image", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight",
                                              "Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour",
                                              "NormalColour2", "MouseOverColour2", "PressedColour2"};

std::vector<std::string> With(std::vector<std::string> keys, std::initializer_list<std::string> more)
{
    keys.insert(keys.end(), more);
    return keys;
}

// Every key the skin engine reads, section by section.
std::map<std::string, std::vector<std::string>> RequiredKeys()
{
    std::map<std::string, std::vector<std::string>> required;
    auto& personality = required["Personality"];
    for (const std::string border : {"Left", "Right", "Top", "Bottom"})
        for (const std::string suffix : {"", "TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
            personality.push_back(border + suffix);
    personality.insert(personality.end(), {"TextBack", "TextShift", "TextShiftVert", "TextRightClip", "TextAlignment",
                                           "Textbackground", "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG",
                                           "ActiveTextB", "InActiveTextR", "InActiveTextG", "InActiveTextB", "menuBar",
                                           "TileMenu", "TileLeftMenu", "TileRightMenu"});
    required["Fonts"] = {"FontHeight"};
    required["Colours"] = {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                           "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
                           "MenuBarText", "TitleTextActive", "TitleTextNoActive"};
    required["Buttons"] = {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile", "Bitmap",
                           "CheckButton", "RadioButton", "NormalColour", "MouseOverColour", "PressedColour",
                           "RadioButtonFrame", "CheckButtonFrame", "NormalColour2", "MouseOverColour2", "PressedColour2"};
    required["Progress"] = {"Bitmap", "Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"};
    for (const char* plain : {"Progress.Chunk", "GroupBoxEdge", "StatusBarEdges", "Tab.Pane", "ToolBars", "SunkEdge",
                              "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll",
                              "VertScroll", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "Track", "TRACKVERT"})
        required[plain] = With(ElementKeys, {"Frame"});
    required["HorzScrollThumb"] = With(ElementKeys, {"Frame", "FrameCount"});
    required["VertScrollThumb"] = With(ElementKeys, {"Frame", "FrameCount"});
    required["GroupBox"] = With(ElementKeys, {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"});
    required["Tabs"] = With(ElementKeys, {"Border"});
    required["ComboButton"] = With(ElementKeys, {"****"});
    required["UpDown.Horz"] = With(ElementKeys, {"GlyphImage"});
    required["UpDown.Vert"] = With(ElementKeys, {"GlyphImage"});
    required["MDICONTROLS"] = {"Image"};
    for (const char* button : {"BUTTON.CLOSE", "BUTTON.MINIMIZE", "BUTTON.MAXIMIZE", "BUTTON.RESTORE", "BUTTON.ICON"})
        required[button] = {"Action", "Align", "XCoord", "YCoord", "Visibility", "Visibility1", "CombineOp", "Frame",
                            "ButtonImage"};
    return required;
}

TEST_F(GeneratedSkin, IniHoldsEveryKeyTheEngineReadsAndItsReaderSeesTheSameValues)
{
    for (const auto& [section, keys] : RequiredKeys())
        for (const std::string& key : keys)
            EXPECT_TRUE(Value(section, key).has_value()) << "[" << section << "] " << key;

    // Every non-empty value comes back unchanged through the engine's own INI reader.
    TQuickIni ini;
    ini.LoadFromText(ReadFile(m_folder / SkinIniName));
    for (const auto& section : s_skin->Sections())
        for (const auto& [key, value] : section.keys)
            EXPECT_EQ(ini.ReadString(section.name, key, value.empty() ? "" : "?"), value) << "[" << section.name << "] " << key;
}

struct TLayout {
    const char* section;
    const char* key;
    int frames;
    bool vertical;
};

// How the engine cuts each image into frames.
const TLayout Layouts[] = {
    {"Personality", "Left", 2, false},   {"Personality", "Right", 2, false},     {"Personality", "Top", 2, true},
    {"Personality", "Bottom", 2, true},  {"Personality", "menuBar", 2, true},    {"Buttons", "Bitmap", 5, false},
    {"Buttons", "CheckButton", 12, false}, {"Buttons", "RadioButton", 8, false}, {"Progress", "Bitmap", 2, false},
    {"Progress.Chunk", "Image", 1, false}, {"GroupBoxEdge", "Image", 2, false},  {"GroupBox", "Image", 1, false},
    {"Tabs", "Image", 5, false},         {"Tabs", "Border", 1, false},           {"StatusBarEdges", "Image", 3, false},
    {"Tab.Pane", "Image", 1, false},     {"ToolBars", "Image", 5, false},        {"ComboButton", "Image", 4, false},
    {"SunkEdge", "Image", 4, false},     {"ExtraImages", "Image", 5, false},     {"Headerbar", "Image", 5, false},
    {"MenuItem", "Image", 5, false},     {"MenuBackground", "Image", 1, false},  {"Scrollbar", "Image", 23, false},
    {"HorzScroll", "Image", 4, false},   {"VertScroll", "Image", 4, false},      {"HorzScrollThumb", "Image", 3, false},
    {"VertScrollThumb", "Image", 3, false}, {"Trackbar.ThumbHorz", "Image", 5, false}, {"Trackbar.ThumbVert", "Image", 5, false},
    {"Trackbar.ThumbLeft", "Image", 5, false}, {"Trackbar.ThumbRight", "Image", 5, false}, {"Trackbar.ThumbUp", "Image", 5, false},
    {"Trackbar.ThumbDown", "Image", 5, false}, {"UpDown.Horz", "Image", 8, false}, {"UpDown.Horz", "GlyphImage", 8, false},
    {"UpDown.Vert", "Image", 8, false},  {"UpDown.Vert", "GlyphImage", 8, false}, {"Track", "Image", 1, false},
    {"TRACKVERT", "Image", 1, false},    {"MDICONTROLS", "Image", 12, false},
};

TEST_F(GeneratedSkin, EveryImageIsA24BitStripOfWholeFramesThatHoldsItsMargins)
{
    for (const TLayout& layout : Layouts) {
        SCOPED_TRACE(std::string(layout.section) + " " + layout.key);
        const auto bitmap = Load(layout.section, layout.key);
        ASSERT_NE(bitmap, nullptr);
        EXPECT_EQ(bitmap->PixelFormat(), pf24bit);
        const int length = layout.vertical ? bitmap->Height() : bitmap->Width();
        EXPECT_EQ(length % layout.frames, 0);
        const int frameWidth = layout.vertical ? bitmap->Width() : bitmap->Width() / layout.frames;
        const int frameHeight = layout.vertical ? bitmap->Height() / layout.frames : bitmap->Height();
        if (std::string(layout.key) == "Image" || std::string(layout.key) == "Bitmap") {
            const auto margin = [&](const char* key) { return Value(layout.section, key) ? Integer(layout.section, key) : 0; };
            EXPECT_LT(margin("LeftWidth") + margin("RightWidth"), frameWidth);
            EXPECT_LT(margin("TopHeight") + margin("BottomHeight"), frameHeight);
        }
    }
    // The stated frame counts agree with the art.
    EXPECT_EQ(Integer("Buttons", "CheckButtonFrame"), 12);
    EXPECT_EQ(Integer("Buttons", "RadioButtonFrame"), 8);
    EXPECT_EQ(Integer("HorzScrollThumb", "FrameCount"), 3);
    EXPECT_EQ(Integer("VertScrollThumb", "FrameCount"), 3);
    for (const char* border : {"Left", "Right", "Top", "Bottom"})
        EXPECT_EQ(Integer("Personality", std::string(border) + "Frame"), 2) << border;
    // The side borders keep the caption part and the bottom corner, with something left to stretch.
    const auto left = Load("Personality", "Left");
    EXPECT_LT(Integer("Personality", "LeftTopHeight") + Integer("Personality", "LeftBotHeight"), left->Height());
    // The caption is as high as the top border's frame, and the side borders' caption part matches it.
    EXPECT_EQ(Load("Personality", "Top")->Height() / 2, Integer("Personality", "LeftTopHeight"));
    // The scroll bar art is used 1:1 only when it is within 2 pixels of the system's arrow size (16).
    EXPECT_LE(std::abs(Load("Scrollbar", "Image")->Height() - 16), 2);
    // The tab pane's margins are cut to 4 by the engine; ours already fit.
    for (const char* margin : {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"})
        EXPECT_LE(Integer("Tab.Pane", margin), 4) << margin;
}

TEST_F(GeneratedSkin, CaptionButtonsHaveFourFramesAndSitInTheCaption)
{
    const int captionHeight = Integer("Personality", "LeftTopHeight");
    for (const auto& section : s_skin->Sections()) {
        if (section.name.rfind("BUTTON.", 0) != 0)
            continue;
        SCOPED_TRACE(section.name);
        const auto image = Load(section.name, "ButtonImage");
        if (!image) {
            EXPECT_EQ(Integer(section.name, "Action"), 3) << "only the window icon button goes without art";
            continue;
        }
        EXPECT_EQ(Integer(section.name, "Frame"), 4);
        EXPECT_EQ(image->Width() % 4, 0);
        EXPECT_LE(Integer(section.name, "YCoord") + image->Height(), captionHeight);
    }
}

TEST_F(GeneratedSkin, OpaqueElementsHoldNoKeyColourAndTheMenuGlyphsUseWhiteAsMask)
{
    // An element drawn without transparency would show magenta wherever its art has key pixels.
    for (const auto& section : s_skin->Sections()) {
        const auto trans = Value(section.name, "Trans");
        if (!trans || *trans != "0")
            continue;
        const auto image = Load(section.name, section.name == "Buttons" || section.name == "Progress" ? "Bitmap" : "Image");
        if (!image)
            continue;
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                ASSERT_NE(ReadPixel(*image, x, y), 0xFF00FF) << section.name << " at " << x << "," << y;
    }

    const TBitmap* glyphs = s_resources->Image("LUMORAMENU.bmp");
    ASSERT_NE(glyphs, nullptr);
    EXPECT_EQ(glyphs->Width(), 64);
    EXPECT_EQ(glyphs->Height(), 16);
    TBitmap copy;
    copy.Assign(glyphs);
    for (int glyph = 0; glyph < 4; ++glyph) {
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ink += ReadPixel(copy, glyph * 16 + x, y) != 0xFFFFFF ? 1 : 0;
        EXPECT_GT(ink, 8) << "glyph " << glyph;
        EXPECT_EQ(ReadPixel(copy, glyph * 16, 0), 0xFFFFFF) << "the glyph's ground is the mask colour";
    }
    for (const char* track : {"TRACK.bmp", "TRACKVERT.bmp"})
        EXPECT_NE(s_resources->Image(track), nullptr) << track;
}

TEST_F(GeneratedSkin, CommittedAssetsAreExactlyWhatTheCodeDraws)
{
    const auto compareFolder = [](const fs::path& generated, const fs::path& committed) {
        ASSERT_TRUE(fs::is_directory(committed)) << committed;
        EXPECT_EQ(FilesIn(generated), FilesIn(committed)) << committed;
        for (const std::string& name : FilesIn(generated))
            EXPECT_TRUE(ReadFile(generated / name) == ReadFile(committed / name))
                << (committed / name) << " differs from the code: regenerate (see assets/skin/README.md)";
    };
    compareFolder(m_folder, Assets / "modem");
    const fs::path resources = m_temp.Path() / "resources";
    s_resources->WriteTo(resources, "");
    compareFolder(resources, Assets / "resources");
}

TEST_F(GeneratedSkin, CommittedPackageHoldsEveryFileOfTheSkinFolder)
{
    TFileStream package((Assets / "modem.skn").string(), fmOpenRead);
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(package));
    std::set<std::string> expected;
    for (const std::string& name : FilesIn(Assets / "modem"))
        expected.insert(Lower(name));
    EXPECT_EQ(std::set<std::string>(reader.Names().begin(), reader.Names().end()), expected);
    for (const std::string& name : FilesIn(Assets / "modem")) {
        TMemoryStream entry;
        reader.GetEntry(name, entry);
        const std::string bytes(reinterpret_cast<const char*>(entry.Memory()), static_cast<std::size_t>(entry.Size()));
        EXPECT_TRUE(bytes == ReadFile(Assets / "modem" / name)) << name;
    }
    std::string iniName;
    TMemoryStream ini;
    EXPECT_TRUE(reader.FindEntry(".ini", ini, iniName));
    EXPECT_EQ(iniName, Lower(SkinIniName));
}

} // namespace
