#include "effects.h"

#include "../common/sound_commands.h"
#include "psg.h"

#define EFFECT_CHIP 0

/* One stretch of an effect. A segment with ticks 0 ends the script. */
typedef struct {
  uint8_t ticks;
  uint16_t period;     /* tone period at the start */
  int8_t sweep;        /* added to the period every tick */
  uint8_t volume;      /* starting level 0-15 */
  uint8_t decay_every; /* ticks between one-step level drops; 0 holds the level */
  uint8_t noise;       /* noise period, 0 for a pure tone */
  uint8_t tone;        /* 0 mutes the tone so only noise sounds */
  uint16_t envelope;   /* non-zero: let the chip's decaying envelope shape the level */
} Segment;

static const Segment kShot[] = {{10, 56, 9, 12, 2, 0, 1, 0}, {0}};
static const Segment kJump[] = {{18, 420, -18, 12, 4, 0, 1, 0}, {0}};
static const Segment kStep[] = {{3, 90, 0, 8, 1, 0, 1, 0}, {0}};
static const Segment kCoin[] = {{4, 118, 0, 13, 0, 0, 1, 0}, {14, 88, 0, 13, 2, 0, 1, 0}, {0}};
static const Segment kTimeWarn[] = {{6, 150, 0, 12, 0, 0, 1, 0}, {0}};
static const Segment kExtraLife[] = {{5, 149, 0, 13, 0, 0, 1, 0},
                                     {5, 118, 0, 13, 0, 0, 1, 0},
                                     {5, 99, 0, 13, 0, 0, 1, 0},
                                     {5, 75, 0, 13, 0, 0, 1, 0},
                                     {5, 99, 0, 13, 0, 0, 1, 0},
                                     {20, 75, 0, 13, 2, 0, 1, 0},
                                     {0}};
static const Segment kEnemyHit[] = {
    {4, 200, 40, 14, 1, 6, 1, 0}, {30, 0, 0, 0, 0, 14, 0, 4000}, {0}};
static const Segment kPlayerDie[] = {{40, 300, 12, 14, 3, 0, 1, 0}, {0}};
static const Segment kPlayerBlast[] = {{90, 0, 0, 0, 0, 26, 0, 11000}, {0}};

typedef struct {
  const Segment* segment; /* 0 when the channel is silent */
  uint8_t ticks_left;
  uint16_t period;
  uint8_t volume;
  uint8_t decay_count;
} EffectChannel;

static EffectChannel channels[3];

static void begin_segment(uint8_t ch) {
  EffectChannel* c = &channels[ch];
  const Segment* s = c->segment;
  if (s->ticks == 0) {
    c->segment = 0;
    psg_write(EFFECT_CHIP, PSG_LEVEL(ch), 0);
    psg_channel_mode(EFFECT_CHIP, ch, 0, 0);
    return;
  }
  c->ticks_left = s->ticks;
  c->period = s->period;
  c->volume = s->volume;
  c->decay_count = s->decay_every;
  if (s->noise) psg_write(EFFECT_CHIP, PSG_NOISE_PERIOD, s->noise);
  psg_channel_mode(EFFECT_CHIP, ch, s->tone, s->noise != 0);
  if (s->envelope) {
    psg_write(EFFECT_CHIP, PSG_ENV_FINE, (uint8_t)s->envelope);
    psg_write(EFFECT_CHIP, PSG_ENV_COARSE, (uint8_t)(s->envelope >> 8));
    psg_write(EFFECT_CHIP, PSG_ENV_SHAPE, ENV_SHAPE_DECAY);
    psg_write(EFFECT_CHIP, PSG_LEVEL(ch), LEVEL_USES_ENVELOPE);
  } else {
    psg_write(EFFECT_CHIP, PSG_LEVEL(ch), c->volume);
  }
  psg_set_tone(EFFECT_CHIP, ch, c->period);
}

static void play(uint8_t ch, const Segment* script) {
  channels[ch].segment = script;
  begin_segment(ch);
}

void effects_start(uint8_t command) {
  switch (command) {
    case SND_SHOT: play(0, kShot); break;
    case SND_JUMP: play(0, kJump); break;
    case SND_STEP: play(0, kStep); break;
    case SND_COIN: play(0, kCoin); break;
    case SND_TIME_WARN: play(0, kTimeWarn); break;
    case SND_EXTRA_LIFE: play(1, kExtraLife); break;
    case SND_ENEMY_HIT: play(1, kEnemyHit); break;
    case SND_PLAYER_DIE:
      play(1, kPlayerDie);
      play(2, kPlayerBlast);
      break;
    default: break;
  }
}

void effects_tick(void) {
  uint8_t ch;
  for (ch = 0; ch < 3; ++ch) {
    EffectChannel* c = &channels[ch];
    const Segment* s = c->segment;
    if (!s) continue;
    if (--c->ticks_left == 0) {
      c->segment = s + 1;
      begin_segment(ch);
      continue;
    }
    if (s->sweep) {
      c->period += s->sweep;
      psg_set_tone(EFFECT_CHIP, ch, c->period);
    }
    if (s->decay_every && !s->envelope && --c->decay_count == 0) {
      c->decay_count = s->decay_every;
      if (c->volume) --c->volume;
      psg_write(EFFECT_CHIP, PSG_LEVEL(ch), c->volume);
    }
  }
}

void effects_stop(void) {
  uint8_t ch;
  for (ch = 0; ch < 3; ++ch) {
    channels[ch].segment = 0;
    psg_write(EFFECT_CHIP, PSG_LEVEL(ch), 0);
    psg_channel_mode(EFFECT_CHIP, ch, 0, 0);
  }
}
