#include "machine/persistence.h"

#include <cstring>

#include "machine/board.h"
#include "machine/descriptor.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/user.h"
#include "platform/wsprintf.h"

namespace machine {
namespace {

constexpr int kHiscoreBufferBytes = 512;
constexpr int kSlotCount = 6;
constexpr uint16_t kSoundRamLow = 0x8000;
constexpr uint16_t kSoundRamHigh = 0x8300;
constexpr size_t kSoundRamBlockBytes = 0x100;
constexpr size_t kResumeProbeBytes = 8;

// Offsets within the machine block.
namespace Block {
constexpr size_t PsgSelect0 = 0;
constexpr size_t PsgSelect1 = 1;
constexpr size_t MainRequest = 2;
constexpr size_t SoundRequest = 3;
constexpr size_t SoundLatch = 4;
constexpr size_t GameOver = 5;
constexpr size_t NmiEnable = 6;
constexpr size_t PsgState = 7;
constexpr size_t SoundCpu = 199;
}  // namespace Block

struct FileName {
  WCHAR text[260 + 32];
};

FileName HiscoreFileName() {
  FileName name;
  wsprintfW(name.text, u"%s%s.hi", ModuleDirectory, GameDescriptors[0].fileStem);
  return name;
}

FileName StateFileName(int slot) {
  FileName name;
  wsprintfW(name.text, u"%s%s.sv%d", ModuleDirectory, GameDescriptors[0].fileStem, slot + 1);
  return name;
}

// Closes the handle when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (ok()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool ok() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE OpenForReading(const FileName& name) {
  return CreateFileW(name.text, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

HANDLE CreateForWriting(const FileName& name) {
  return CreateFileW(name.text, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

DWORD ReadUpTo(HANDLE file, void* buffer, size_t bytes) {
  DWORD read = 0;
  ReadFile(file, buffer, static_cast<DWORD>(bytes), &read, nullptr);
  return read;
}

void StageSoundRam() {
  uint8_t* main = MainMemory();
  const uint8_t* sound = SoundMemory();
  std::memcpy(main + MainAddress::SoundRamStage, sound + kSoundRamLow, kSoundRamBlockBytes);
  std::memcpy(main + MainAddress::SoundRamStage + kSoundRamBlockBytes, sound + kSoundRamHigh,
              kSoundRamBlockBytes);
}

void UnstageSoundRam() {
  const uint8_t* main = MainMemory();
  uint8_t* sound = SoundMemory();
  std::memcpy(sound + kSoundRamLow, main + MainAddress::SoundRamStage, kSoundRamBlockBytes);
  std::memcpy(sound + kSoundRamHigh, main + MainAddress::SoundRamStage + kSoundRamBlockBytes,
              kSoundRamBlockBytes);
}

void SaveState(int slot) {
  uint8_t block[kMachineBlockBytes] = {};
  block[Block::PsgSelect0] = Latches.psgSelect[0];
  block[Block::PsgSelect1] = Latches.psgSelect[1];
  block[Block::MainRequest] = Latches.mainRequest;
  block[Block::SoundRequest] = Latches.soundRequest;
  block[Block::SoundLatch] = Latches.soundLatch;
  block[Block::GameOver] = static_cast<uint8_t>(GameOver);
  block[Block::NmiEnable] = Latches.nmiEnable;
  std::memcpy(block + Block::PsgState, Psg, sizeof(sound::PsgBlock));
  std::memcpy(block + Block::SoundCpu, &SoundCpu, sizeof(z80::Z80State));
  StageSoundRam();
  const std::vector<uint8_t> encoded = EncodeMainMemory(MainSpace);

  FileHandle file(CreateForWriting(StateFileName(slot)));
  if (!file.ok()) return;
  DWORD written = 0;
  WriteFile(file.get(), &MainCpu, sizeof MainCpu, &written, nullptr);
  WriteFile(file.get(), block, sizeof block, &written, nullptr);
  WriteFile(file.get(), encoded.data(), static_cast<DWORD>(encoded.size()), &written, nullptr);
}

int LoadState(int slot) {
  FileHandle file(OpenForReading(StateFileName(slot)));
  if (!file.ok()) return 0;
  ReadUpTo(file.get(), &MainCpu, sizeof MainCpu);
  uint8_t block[kMachineBlockBytes] = {};
  ReadUpTo(file.get(), block, sizeof block);
  std::vector<uint8_t> encoded(kMaxEncodedMemoryBytes);
  const DWORD encodedBytes = ReadUpTo(file.get(), encoded.data(), encoded.size());
  DecodeMainMemory(encoded.data(), encodedBytes, MainSpace);
  UnstageSoundRam();

  // A damaged file may hold any byte; a register select only ever has four bits.
  Latches.psgSelect[0] = block[Block::PsgSelect0] & 0x0F;
  Latches.psgSelect[1] = block[Block::PsgSelect1] & 0x0F;
  Latches.mainRequest = block[Block::MainRequest];
  Latches.soundRequest = block[Block::SoundRequest];
  Latches.soundLatch = block[Block::SoundLatch];
  GameOver = block[Block::GameOver] != 0;
  Latches.nmiEnable = block[Block::NmiEnable];
  std::memcpy(Psg, block + Block::PsgState, sizeof(sound::PsgBlock));
  std::memcpy(&SoundCpu, block + Block::SoundCpu, sizeof(z80::Z80State));
  std::memset(TileDirty, 1, sizeof TileDirty);
  HiscoresLoaded = 1;
  return 1;
}

}  // namespace

std::vector<uint8_t> EncodeMainMemory(const uint8_t* space) {
  std::vector<uint8_t> out;
  out.reserve(kMaxEncodedMemoryBytes);
  const uint8_t* tags = space + z80::kTagOffset;
  int zeros = 0;
  for (uint32_t a = 0; a < 0x10000; ++a) {
    if (tags[a] == z80::TAG_READ_ONLY) continue;
    const uint8_t byte = space[a];
    if (byte == 0) {
      if (++zeros == 256) {
        out.push_back(0x00);
        out.push_back(0xFF);
        zeros = 0;
      }
      continue;
    }
    if (zeros > 0) {
      out.push_back(0x00);
      out.push_back(static_cast<uint8_t>(zeros - 1));
      zeros = 0;
    }
    out.push_back(byte);
  }
  if (zeros > 0) {
    out.push_back(0x00);
    out.push_back(static_cast<uint8_t>(zeros - 1));
  }
  return out;
}

void DecodeMainMemory(const uint8_t* encoded, size_t encodedBytes, uint8_t* space) {
  const uint8_t* tags = space + z80::kTagOffset;
  size_t next = 0;
  auto take = [&]() -> uint8_t { return next < encodedBytes ? encoded[next++] : 0; };
  int pendingZeros = 0;
  for (uint32_t a = 0; a < 0x10000; ++a) {
    if (tags[a] == z80::TAG_READ_ONLY) continue;
    if (pendingZeros > 0) {
      space[a] = 0;
      --pendingZeros;
      continue;
    }
    const uint8_t byte = take();
    if (byte == 0) pendingZeros = take();
    space[a] = byte;
  }
}

int HiscoreLoad(uint8_t* destination, int length) {
  if (length < 0 || length > kHiscoreBufferBytes) return 1;
  FileHandle file(OpenForReading(HiscoreFileName()));
  if (!file.ok()) return 1;
  uint8_t buffer[kHiscoreBufferBytes];
  if (ReadUpTo(file.get(), buffer, length) < static_cast<DWORD>(length)) return 1;
  std::memcpy(destination, buffer, length);
  return 0;
}

void HiscoreSave(const uint8_t* source, int length) {
  FileHandle file(CreateForWriting(HiscoreFileName()));
  DWORD written = 0;
  if (!file.ok() || !WriteFile(file.get(), source, length, &written, nullptr) ||
      written < static_cast<DWORD>(length)) {
    MessageBoxW(nullptr, u"Error saving hiscore data.", u"Hiscore Error", MB_ICONHAND);
  }
}

int SaveOrLoadState(int slot, int direction) {
  if (slot < 0 || slot >= kSlotCount) return 0;
  if (direction == kStateSave) {
    SaveState(slot);
    return 1;
  }
  return LoadState(slot);
}

int ResumeSlotExists() {
  FileHandle file(OpenForReading(StateFileName(kResumeSlot)));
  if (!file.ok()) return 0;
  uint8_t probe[kResumeProbeBytes];
  return ReadUpTo(file.get(), probe, sizeof probe) == sizeof probe ? 1 : 0;
}

}  // namespace machine
