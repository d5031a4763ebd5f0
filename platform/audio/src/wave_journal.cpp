#include "wave_journal.h"

#include <deque>
#include <mutex>

namespace platform {
namespace {

// A game records a played buffer every 67 ms for as long as it runs; only the recent past is kept.
constexpr size_t kJournalCapacity = 4096;

struct Journal {
  std::mutex mutex;
  std::deque<WaveOutEvent> events;
};

Journal& TheJournal() {
  static Journal journal;
  return journal;
}

}  // namespace

void RecordWaveOutEvent(const WaveOutEvent& event) {
  Journal& journal = TheJournal();
  std::lock_guard lock(journal.mutex);
  if (journal.events.size() == kJournalCapacity) journal.events.pop_front();
  journal.events.push_back(event);
}

std::vector<WaveOutEvent> WaveOutJournal() {
  Journal& journal = TheJournal();
  std::lock_guard lock(journal.mutex);
  return {journal.events.begin(), journal.events.end()};
}

void ClearWaveOutJournal() {
  Journal& journal = TheJournal();
  std::lock_guard lock(journal.mutex);
  journal.events.clear();
}

}  // namespace platform
