#include "platform/winapi/mci/MidiSequencer.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/mci/MMSystem.h"
#include "platform/winapi/user/WinUser.h"

#include <fluidsynth.h>

#include <array>
#include <cstddef>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>

namespace winapi_mci::detail {
namespace {

constexpr std::string_view FileOutputPrefix = "file:";
constexpr std::initializer_list<const char*> SystemSoundFonts = {
    "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/soundfonts/default.sf2"};
// The desktop's sound server first (PipeWire serves the PulseAudio protocol too), then ALSA.
constexpr std::initializer_list<const char*> DesktopDrivers = {"pulseaudio", "alsa"};
// How often a driver-played file is looked at to see whether it has ended: FluidSynth's player
// says so only when asked.
constexpr auto EndCheckInterval = std::chrono::milliseconds(10);
// Frames rendered at a time when no driver renders.
constexpr int RenderFrames = 512;

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

void TraceFluid(int level, const char* message, void*)
{
    if (level != FLUID_DBG && TraceEnabled(TraceChannel::Mci))
        TraceLine(TraceChannel::Mci, std::string("fluidsynth: ") + message);
}

void RouteFluidMessages()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, TraceFluid, nullptr);
    });
}

void Trace(const std::string& text)
{
    if (TraceEnabled(TraceChannel::Mci))
        TraceLine(TraceChannel::Mci, text);
}

std::string FileStart(const std::string& file, std::size_t length)
{
    std::string start(length, '\0');
    std::ifstream stream(file, std::ios::binary);
    return stream.read(start.data(), static_cast<std::streamsize>(length)) ? start : std::string();
}

bool IsMidiFile(const std::string& file)
{
    return FileStart(file, 4) == "MThd";
}

// A SoundFont 2 (or 3) file: a RIFF file of form "sfbk".
bool IsSoundFont(const std::string& file)
{
    const std::string start = FileStart(file, 12);
    return start.size() == 12 && start.compare(0, 4, "RIFF") == 0 && start.compare(8, 4, "sfbk") == 0;
}

} // namespace

AudioOutput AudioOutputFromEnvironment()
{
    const std::string setting = Environment("MODEM_AUDIO_DRIVER");
    if (setting == "null")
        return {AudioOutput::Kind::Null, {}};
    if (setting.rfind(FileOutputPrefix, 0) == 0)
        return {AudioOutput::Kind::File, setting.substr(FileOutputPrefix.size())};
    return {AudioOutput::Kind::Driver, setting};
}

std::string FindSoundFont()
{
    const std::string named = Environment("MODEM_SOUNDFONT");
    std::error_code error;
    if (!named.empty())
        return std::filesystem::is_regular_file(named, error) && IsSoundFont(named) ? named : std::string();
    for (const char* font : SystemSoundFonts)
        if (std::filesystem::is_regular_file(font, error) && IsSoundFont(font))
            return font;
    return {};
}

// The FluidSynth objects of a device, freed in the order they depend on each other.
struct MidiSequencer::Fluid {
    fluid_settings_t* settings = new_fluid_settings();
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_file_renderer_t* renderer = nullptr;
    fluid_player_t* player = nullptr;

    ~Fluid()
    {
        if (player)
            delete_fluid_player(player);
        if (driver)
            delete_fluid_audio_driver(driver);
        if (renderer)
            delete_fluid_file_renderer(renderer);
        if (synth)
            delete_fluid_synth(synth);
        if (settings)
            delete_fluid_settings(settings);
    }
};

MidiSequencer::MidiSequencer() : m_fluid(std::make_unique<Fluid>()) {}

MidiSequencer::~MidiSequencer()
{
    (void)Stop();
    ReleasePlayer();
    if (!m_file.empty())
        Trace(m_file + ": closed");
}

DWORD MidiSequencer::Open(const std::string& file)
{
    RouteFluidMessages();
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return MCIERR_FILE_NOT_FOUND;
    if (!IsMidiFile(file))
        return MCIERR_INVALID_FILE;
    const std::string font = FindSoundFont();
    if (font.empty() || !m_fluid->settings)
        return MCIERR_SEQ_NOMIDIPRESENT;
    // The player keeps time by the samples the synthesiser renders, whoever renders them.
    fluid_settings_setstr(m_fluid->settings, "player.timing-source", "sample");
    const AudioOutput output = AudioOutputFromEnvironment();
    if (output.kind == AudioOutput::Kind::File)
        fluid_settings_setstr(m_fluid->settings, "audio.file.name", output.name.c_str());
    m_fluid->synth = new_fluid_synth(m_fluid->settings);
    if (!m_fluid->synth || fluid_synth_sfload(m_fluid->synth, font.c_str(), 1) == FLUID_FAILED)
        return MCIERR_SEQ_NOMIDIPRESENT;
    if (const DWORD failed = OpenOutput(output))
        return failed;
    m_file = file;
    Trace(file + ": opened with " + font);
    return 0;
}

DWORD MidiSequencer::OpenOutput(const AudioOutput& output)
{
    m_output = output.kind;
    switch (output.kind) {
    case AudioOutput::Kind::Null:
        return 0;
    case AudioOutput::Kind::File:
        m_fluid->renderer = new_fluid_file_renderer(m_fluid->synth);
        return m_fluid->renderer ? 0 : MCIERR_HARDWARE;
    case AudioOutput::Kind::Driver:
        break;
    }
    const std::initializer_list<const char*> named = {output.name.c_str()};
    for (const char* driver : output.name.empty() ? DesktopDrivers : named) {
        fluid_settings_setstr(m_fluid->settings, "audio.driver", driver);
        m_fluid->driver = new_fluid_audio_driver(m_fluid->settings, m_fluid->synth);
        if (m_fluid->driver) {
            Trace(std::string("audio through ") + driver);
            return 0;
        }
    }
    return MCIERR_HARDWARE;
}

DWORD MidiSequencer::Play(HWND notifyWindow, UINT deviceId)
{
    std::unique_lock lock(m_mutex);
    if (m_playing) {
        NotifyLocked(MCI_NOTIFY_SUPERSEDED);
        m_notifyWindow = notifyWindow;
        m_deviceId = deviceId;
        return 0;
    }
    lock.unlock();
    ReleasePlayer();
    lock.lock();
    m_notifyWindow = notifyWindow;
    m_deviceId = deviceId;
    if (m_atEnd) {
        NotifyLocked(MCI_NOTIFY_SUCCESSFUL);
        return 0;
    }
    m_fluid->player = new_fluid_player(m_fluid->synth);
    if (!m_fluid->player || fluid_player_add(m_fluid->player, m_file.c_str()) != FLUID_OK
        || fluid_player_play(m_fluid->player) != FLUID_OK) {
        m_notifyWindow = nullptr;
        return MCIERR_INVALID_FILE;
    }
    if (m_position > 0)
        (void)fluid_player_seek(m_fluid->player, m_position);
    m_playing = true;
    m_stopRequested = false;
    m_thread = std::thread([this] { PlayThread(); });
    return 0;
}

void MidiSequencer::PlayThread()
{
    std::array<float, RenderFrames> left{}, right{};
    std::unique_lock lock(m_mutex);
    while (!m_stopRequested && fluid_player_get_status(m_fluid->player) == FLUID_PLAYER_PLAYING) {
        if (m_output == AudioOutput::Kind::Driver) {
            m_wake.wait_for(lock, EndCheckInterval);
            continue;
        }
        lock.unlock();
        if (m_output == AudioOutput::Kind::File)
            (void)fluid_file_renderer_process_block(m_fluid->renderer);
        else
            (void)fluid_synth_write_float(m_fluid->synth, RenderFrames, left.data(), 0, 1, right.data(), 0, 1);
        lock.lock();
    }
    m_playing = false;
    if (m_stopRequested)
        return;
    m_atEnd = true;
    m_position = 0;
    Trace(m_file + ": played to the end");
    NotifyLocked(MCI_NOTIFY_SUCCESSFUL);
}

DWORD MidiSequencer::Stop()
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_playing)
            return 0;
        m_stopRequested = true;
        NotifyLocked(MCI_NOTIFY_ABORTED);
    }
    m_wake.notify_all();
    m_thread.join();
    m_position = fluid_player_get_current_tick(m_fluid->player);
    (void)fluid_player_stop(m_fluid->player);
    delete_fluid_player(std::exchange(m_fluid->player, nullptr));
    (void)fluid_synth_all_sounds_off(m_fluid->synth, -1);
    m_stopRequested = false;
    return 0;
}

void MidiSequencer::ReleasePlayer()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_fluid->player)
        delete_fluid_player(std::exchange(m_fluid->player, nullptr));
}

DWORD MidiSequencer::SeekToStart()
{
    (void)Stop();
    std::lock_guard lock(m_mutex);
    m_position = 0;
    m_atEnd = false;
    return 0;
}

DWORD MidiSequencer::Mode() const
{
    std::lock_guard lock(m_mutex);
    return m_playing ? MCI_MODE_PLAY : MCI_MODE_STOP;
}

void MidiSequencer::NotifyLocked(WPARAM flag)
{
    if (const HWND window = std::exchange(m_notifyWindow, nullptr))
        (void)PostMessageA(window, MM_MCINOTIFY, flag, static_cast<LPARAM>(m_deviceId));
}

} // namespace winapi_mci::detail
