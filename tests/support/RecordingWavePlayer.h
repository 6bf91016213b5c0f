// Sound calls noted instead of played, for tests of the windows that ring.
#pragma once

#include "platform/WavePlayer.h"

/// While it lives, WavePlayer notes every call instead of making a sound;
/// the record starts empty. Declared first in a test function, it outlives
/// the windows of the test, so that what they close on their way out is
/// noted too.
class RecordingWavePlayer final
{
public:
    RecordingWavePlayer()
    {
        WavePlayer::setRecording(true);
        WavePlayer::takeCalls();
    }
    ~RecordingWavePlayer() { WavePlayer::setRecording(false); }
    RecordingWavePlayer(const RecordingWavePlayer &) = delete;
    RecordingWavePlayer &operator=(const RecordingWavePlayer &) = delete;
};
