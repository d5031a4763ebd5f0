// The service's physical signals: its two sounds through the wave output, one vibration pulse,
// and the backlight switched off and handed back. Each returns when the action is over, so
// signals never overlap. All run on the main thread.
#pragma once

#include "platform/types.h"

namespace callchime {

inline constexpr unsigned kElapsedSound = 100;  // the short tick of the elapsed-time signal
inline constexpr unsigned kChimeSound = 101;    // talk start and end; service start and stop

// Plays a WAVE resource of the module. keepVolume leaves the device volume alone (else full
// volume); forceSpeaker routes the sound to the loudspeaker. A missing or damaged resource plays
// nothing, silently.
void PlaySignalWave(HINSTANCE instance, unsigned resource, bool keepVolume, bool forceSpeaker);
void VibratePulse();  // 400 ms
void ScreenOff();
void ScreenRestore();  // full power, then back under the system's power management

}  // namespace callchime
