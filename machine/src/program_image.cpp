#include "machine/program_image.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "machine/alloc.h"
#include "platform/resources.h"
#include "platform/user.h"

namespace machine {
namespace {

// A larger stated size is not an image of this board; it would only make us allocate it.
constexpr uint32_t kMaxImageBytes = 1u << 20;

uint32_t ReadU32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint8_t* Fail(uint8_t* output) {
  FreeBlock(output);
  MessageBoxW(nullptr,
              u"The game program inside this program is missing or damaged, so the game cannot "
              u"start. Reinstall the program.",
              u"Vortekan", MB_OK | MB_ICONHAND);
  return nullptr;
}

// Inflates the stream; true when it reached its end or filled the output.
bool Inflate(const uint8_t* input, uint32_t inputBytes, uint8_t* output, uint32_t outputBytes) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  stream.next_in = const_cast<Bytef*>(input);
  stream.next_out = output;
  int result = Z_OK;
  while (stream.total_out < outputBytes && stream.total_in < inputBytes) {
    stream.avail_in = inputBytes - static_cast<uint32_t>(stream.total_in);
    stream.avail_out = outputBytes - static_cast<uint32_t>(stream.total_out);
    result = inflate(&stream, Z_NO_FLUSH);
    if (result != Z_OK) break;  // end of stream, or an error (no progress counts as one)
  }
  const bool complete = result == Z_STREAM_END || stream.total_out == outputBytes;
  inflateEnd(&stream);
  return complete && (result == Z_OK || result == Z_STREAM_END);
}

}  // namespace

uint8_t* LoadProgramImage() {
  HRSRC resource = FindResourceW(nullptr, u"VORTEKAN", u"BINDATA");
  HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
  const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
  const uint32_t resourceBytes = resource ? SizeofResource(nullptr, resource) : 0;
  if (!bytes || resourceBytes < kImageHeaderBytes) return Fail(nullptr);

  const uint32_t imageBytes = ReadU32(bytes);
  const uint32_t compressedBytes = ReadU32(bytes + 4);
  if (imageBytes == 0 || imageBytes > kMaxImageBytes ||
      compressedBytes > resourceBytes - kImageHeaderBytes)
    return Fail(nullptr);
  // The board copies kProgramImageBytes out of the image, so never hand out less than that.
  auto* output = static_cast<uint8_t*>(AllocZeroed(std::max(imageBytes, kProgramImageBytes)));
  if (!Inflate(bytes + kImageHeaderBytes, compressedBytes, output, imageBytes)) return Fail(output);
  return output;
}

}  // namespace machine
