#pragma once

#include <functional>
#include <set>
#include <string>

class TMediaPlayer;
class TObject;

// The manager's ring tones on its hidden media player. The player's Notify switch is the looping
// switch: the incoming-call tone is played with it on and so starts again each time it ends, until
// MediaStop; the new-message tone is played with it off, once.
//
// Tone files are taken from the program's folder, wherever the program was started from. A tone
// that cannot play (file, sound font or audio output missing) is reported once through `report`
// and otherwise ignored: a silent ring never gets in the way of the call.
class TRingTones {
public:
    using TReportFunction = std::function<void(const std::string& message)>;

    // `programFolder` ends with its delimiter. Without `report`, reports go to standard error.
    TRingTones(TMediaPlayer& player, std::string programFolder, TReportFunction report = {});

    void MediaPlay(const std::string& file);
    void MediaStop();
    // The player's OnNotify handler.
    void MediaPlayerNotify(TObject* sender);

private:
    void Report(const std::string& message);

    TMediaPlayer& m_player;
    std::string m_programFolder;
    TReportFunction m_report;
    std::set<std::string> m_reported;
};
