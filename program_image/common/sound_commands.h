/* Command bytes the main program sends to the sound program, one a frame. */
#ifndef SOUND_COMMANDS_H
#define SOUND_COMMANDS_H

#define SND_NONE 0x00 /* the frame tick alone */
#define SND_SHOT 0x01
#define SND_JUMP 0x02
#define SND_ENEMY_HIT 0x03
#define SND_PLAYER_DIE 0x04
#define SND_COIN 0x05
#define SND_EXTRA_LIFE 0x06
#define SND_START_TUNE 0x07
#define SND_GAME_OVER_TUNE 0x08
#define SND_LEVEL_TUNE 0x09
#define SND_STEP 0x0A
#define SND_TIME_WARN 0x0B
#define SND_STOP 0x0C
#define SND_PULSE_SLOW 0x0D /* the bass beat under play, while no tune sounds */
#define SND_PULSE_FAST 0x0E /* the same, hurried: time is running out */
#define SND_PULSE_OFF 0x0F

#endif
