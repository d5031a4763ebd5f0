#include "hiscore.h"

#include "hw.h"
#include "score.h"
#include "video.h"

#define INITIALS_OFFSET (HISCORE_ENTRIES * 3)

static const uint8_t kDefaultScores[HISCORE_ENTRIES * 3] = {
    0x00, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x60, 0x00, 0x00, 0x40, 0x00, 0x00, 0x20, 0x00};
static const char kDefaultInitials[] = "VRTEKNZAPACEJMP";

void hiscore_init(void) {
  uint8_t i;
  for (i = 0; i < HISCORE_ENTRIES * 3; ++i) {
    HISCORE_TABLE[INITIALS_OFFSET + i] = text_code(kDefaultInitials[i]);
  }
  /* The marker bytes at the start go in last, once the rest of the table is in place. */
  for (i = HISCORE_ENTRIES * 3; i-- > 0;) HISCORE_TABLE[i] = kDefaultScores[i];
  score_copy(TOP_SCORE, HISCORE_TABLE);
}

const uint8_t* hiscore_score(uint8_t rank) {
  return HISCORE_TABLE + rank * 3;
}

uint8_t* hiscore_initials(uint8_t rank) {
  return HISCORE_TABLE + INITIALS_OFFSET + rank * 3;
}

uint8_t hiscore_rank(const uint8_t* score) {
  uint8_t rank;
  for (rank = 0; rank < HISCORE_ENTRIES; ++rank) {
    if (score_compare(score, hiscore_score(rank)) > 0) return rank;
  }
  return NOT_RANKED;
}

void hiscore_insert(uint8_t rank, const uint8_t* score) {
  uint8_t i;
  for (i = HISCORE_ENTRIES - 1; i > rank; --i) {
    score_copy(HISCORE_TABLE + i * 3, HISCORE_TABLE + (i - 1) * 3);
    score_copy(hiscore_initials(i), hiscore_initials(i - 1));
  }
  score_copy(HISCORE_TABLE + rank * 3, score);
  for (i = 0; i < 3; ++i) hiscore_initials(rank)[i] = text_code(' ');
  hiscore_track(HISCORE_TABLE);
}

void hiscore_track(const uint8_t* score) {
  if (score_compare(score, TOP_SCORE) > 0) score_copy(TOP_SCORE, score);
}

static const char* const kRankNames[HISCORE_ENTRIES] = {"1ST", "2ND", "3RD", "4TH", "5TH"};

/* Initials from a loaded file show as blanks unless they are letters or digits. */
static uint8_t shown_initial(uint8_t code) {
  return (code <= 0x09 || (code >= 0x11 && code <= 0x2A)) ? code : text_code(' ');
}

void hiscore_draw_table(void) {
  uint8_t rank;
  print_at(8, 4, "HIGH SCORES");
  for (rank = 0; rank < HISCORE_ENTRIES; ++rank) {
    uint8_t band = 8 + rank * 3;
    const uint8_t* initials = hiscore_initials(rank);
    volatile uint8_t* cell;
    uint8_t i;
    print_at(4, band, kRankNames[rank]);
    print_score(10, band, hiscore_score(rank));
    cell = cell_at(19, band);
    for (i = 0; i < 3; ++i) {
      *cell = shown_initial(initials[i]);
      cell -= 32;
    }
  }
}
