#include "wave_journal.h"

#include <cstdio>
#include <deque>
#include <mutex>
#include <string>

#include "platform/event_log.h"

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

// Opening, driver messages, volume and closing are also device events that other processes (the
// control tool, tests) can see with their device times; played buffers stay in the journal only,
// as a game plays one every few frames.
void LogDeviceEvent(const WaveOutEvent& event) {
  char text[96];
  switch (event.kind) {
    case WaveOutEventKind::Opened:
      std::snprintf(text, sizeof text, "open %u Hz %u channels %u bits",
                    event.format.nSamplesPerSec, event.format.nChannels,
                    event.format.wBitsPerSample);
      break;
    case WaveOutEventKind::Message:
      std::snprintf(text, sizeof text, "message 0x%x %llu %llu", event.message,
                    static_cast<unsigned long long>(event.param1),
                    static_cast<unsigned long long>(event.param2));
      break;
    case WaveOutEventKind::Volume:
      std::snprintf(text, sizeof text, "volume 0x%08x", event.volume);
      break;
    case WaveOutEventKind::Reset: std::snprintf(text, sizeof text, "reset"); break;
    case WaveOutEventKind::Closed: std::snprintf(text, sizeof text, "close"); break;
    case WaveOutEventKind::Played: return;
  }
  AppendDeviceEvent("waveout", text);
}

}  // namespace

void RecordWaveOutEvent(const WaveOutEvent& event) {
  LogDeviceEvent(event);
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
