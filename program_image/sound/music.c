#include "music.h"

#include "../common/sound_commands.h"
#include "psg.h"

#define MUSIC_CHIP 1

/* Note streams: a note number (0 = C2 .. 59 = B6) or REST or DRUM, then its length in ticks
   (frames); END closes the stream. */
#define REST 0x7F
#define DRUM 0x7E
#define END 0xFF

/* Tone periods of C2..B6 for this board's generator clock. */
static const uint16_t kNotePeriod[60] = {
    1787, 1686, 1592, 1502, 1418, 1339, 1263, 1193, 1126, 1062, 1003, 947, 893, 843, 796,
    751,  709,  669,  632,  596,  563,  531,  501,  473,  447,  422,  398, 376, 355, 335,
    316,  298,  281,  266,  251,  237,  223,  211,  199,  188,  177,  167, 158, 149, 141,
    133,  125,  118,  112,  105,  99,   94,   89,   84,   79,   75,   70,  66,  63,  59};

enum { C3 = 12, D3 = 14, Eb3 = 15, F3 = 17, G3 = 19, Ab3 = 20, Bb3 = 22 };
enum { C4 = 24, D4 = 26, Eb4 = 27, F4 = 29, G4 = 31, Ab4 = 32, Bb4 = 34 };
enum { C5 = 36, D5 = 38, Eb5 = 39, F5 = 41, G5 = 43, Ab5 = 44, Bb5 = 46, C6 = 48 };
enum { G2 = 7, Ab2 = 8, Bb2 = 10, C2 = 0 };

static const uint8_t kStartLead[] = {G4, 6,  C5, 6,   Eb5, 6,  G5, 12, F5, 6,   Eb5, 6,  D5, 6,  C5,
                                     12, D5, 6,  Eb5, 6,   F5, 6,  G5, 6,  Bb5, 12,  C6, 30, END};
static const uint8_t kStartBass[] = {C3,  12, G3, 12, C3, 12, Ab2, 12, Bb2, 12,
                                     Bb2, 12, C3, 12, G2, 12, C3,  30, END};
static const uint8_t kStartDrum[] = {DRUM, 12,   DRUM, 12,   DRUM, 12,   DRUM, 12,   DRUM, 6,  DRUM,
                                     6,    DRUM, 12,   DRUM, 6,    DRUM, 6,    DRUM, 30,   END};

static const uint8_t kOverLead[] = {C5, 14, Bb4, 7,  Ab4, 7,  G4, 14, Eb4, 14,
                                    F4, 10, Eb4, 10, D4,  10, C4, 40, END};
static const uint8_t kOverBass[] = {C3, 28, Ab2, 28, Bb2, 30, C2, 40, END};
static const uint8_t kOverDrum[] = {DRUM, 28, DRUM, 28, DRUM, 30, DRUM, 40, END};

static const uint8_t kLevelLead[] = {C5, 5, Eb5, 5, G5, 5, C6, 10, REST, 3, G5, 5, C6, 24, END};
static const uint8_t kLevelBass[] = {C3, 15, Eb3, 13, G3, 5, C4, 24, END};
static const uint8_t kLevelDrum[] = {DRUM, 15, DRUM, 10, DRUM, 8, DRUM, 24, END};

typedef struct {
  const uint8_t* next; /* 0 when the voice is done */
  uint8_t ticks_left;
  uint8_t volume;
  uint8_t peak;
} Voice;

static Voice voices[3];

#define PULSE_CHANNEL 1
static uint8_t pulse_period;
static uint8_t pulse_count;
static uint8_t pulse_level;
static uint8_t pulse_beat;

void music_pulse(uint8_t period) {
  pulse_period = period;
  pulse_count = 1;
  if (!period) psg_write(MUSIC_CHIP, PSG_LEVEL(PULSE_CHANNEL), 0);
}

/* Two low notes in turn, each a short thump; silent while a tune plays. */
static void pulse_tick(void) {
  if (!pulse_period || voices[0].next || voices[1].next || voices[2].next) return;
  if (--pulse_count == 0) {
    pulse_count = pulse_period;
    pulse_beat ^= 1;
    psg_set_tone(MUSIC_CHIP, PULSE_CHANNEL, kNotePeriod[pulse_beat ? C2 : G2]);
    psg_channel_mode(MUSIC_CHIP, PULSE_CHANNEL, 1, 0);
    pulse_level = 11;
  } else {
    pulse_level = pulse_level > 2 ? pulse_level - 2 : 0;
  }
  psg_write(MUSIC_CHIP, PSG_LEVEL(PULSE_CHANNEL), pulse_level);
}

static void voice_note(uint8_t ch) {
  Voice* v = &voices[ch];
  uint8_t note = v->next[0];
  if (note == END) {
    v->next = 0;
    psg_write(MUSIC_CHIP, PSG_LEVEL(ch), 0);
    return;
  }
  v->ticks_left = v->next[1];
  v->next += 2;
  if (note == REST) {
    v->volume = 0;
  } else if (note == DRUM) {
    psg_write(MUSIC_CHIP, PSG_NOISE_PERIOD, 6);
    psg_channel_mode(MUSIC_CHIP, ch, 0, 1);
    v->volume = v->peak;
  } else {
    psg_set_tone(MUSIC_CHIP, ch, kNotePeriod[note]);
    psg_channel_mode(MUSIC_CHIP, ch, 1, 0);
    v->volume = v->peak;
  }
  psg_write(MUSIC_CHIP, PSG_LEVEL(ch), v->volume);
}

static void play(const uint8_t* lead, const uint8_t* bass, const uint8_t* drum) {
  voices[0].next = lead;
  voices[0].peak = 13;
  voices[1].next = bass;
  voices[1].peak = 12;
  voices[2].next = drum;
  voices[2].peak = 9;
  voice_note(0);
  voice_note(1);
  voice_note(2);
}

void music_start(uint8_t command) {
  switch (command) {
    case SND_START_TUNE: play(kStartLead, kStartBass, kStartDrum); break;
    case SND_GAME_OVER_TUNE: play(kOverLead, kOverBass, kOverDrum); break;
    case SND_LEVEL_TUNE: play(kLevelLead, kLevelBass, kLevelDrum); break;
    default: break;
  }
}

/* Notes fade one level every other tick to a sustain of half their peak; drums die out fast. */
void music_tick(void) {
  uint8_t ch;
  for (ch = 0; ch < 3; ++ch) {
    Voice* v = &voices[ch];
    if (!v->next) continue;
    if (--v->ticks_left == 0) {
      voice_note(ch);
      continue;
    }
    if (ch == 2) {
      if (v->volume) v->volume -= v->volume > 2 ? 3 : v->volume;
    } else if ((v->ticks_left & 1) && v->volume > (v->peak >> 1)) {
      --v->volume;
    }
    psg_write(MUSIC_CHIP, PSG_LEVEL(ch), v->volume);
  }
  pulse_tick();
}

void music_stop(void) {
  uint8_t ch;
  for (ch = 0; ch < 3; ++ch) {
    voices[ch].next = 0;
    psg_write(MUSIC_CHIP, PSG_LEVEL(ch), 0);
  }
}
