// The video renderer: composes one frame into FrameBitmap as palette indices: the scrolled tile
// layer (kept in TilePicture and redrawn only where TileDirty says), bullets, sprites, stars and
// the layout-dependent re-arrangement of the status lines.
#pragma once

#include <cstdint>

namespace machine {

// Picture shape of the device screen: landscape when wider than high, square when equal.
enum class ScreenLayout { Portrait, Landscape, Square };
ScreenLayout LayoutForScreen(int width, int height);

// FrameBitmap: 8-bit, 320 wide, 288 rows; the frame starts at row 16, so rows -16..-1 exist.
inline constexpr int kFrameStride = 320;
inline constexpr int kFrameRows = 288;
inline constexpr int kFrameMarginRows = 16;
inline constexpr int kGameWidth = 224;  // columns of the game picture

inline constexpr int kTilePictureSize = 256;  // square, stride 256
inline constexpr int kStarCount = 250;
inline constexpr int kStarsDrawn = 150;
inline constexpr int kStarTableBytes = 1024;
inline constexpr uint8_t kBulletColour = 39;

// Game-scoped renderer buffers (set up and released by the game loop).
inline uint8_t* FrameBitmap = nullptr;
inline uint8_t* FrameStart = nullptr;  // row 0 of the frame; presentation may move it
inline uint8_t* TilePicture = nullptr;
inline uint8_t* StarTable = nullptr;    // 250 x (x, y, colour)
inline uint32_t TileOrigin[1024] = {};  // byte offset of each cell's 8 x 8 block in TilePicture

// The decoded graphics the renderer draws from (characters, then sprites).
inline const uint8_t* DecodedGraphics = nullptr;

// Allocates the frame bitmap, TilePicture and StarTable, builds TileOrigin and the stars.
void RendererSetUp();
void RendererTearDown();

// Composes the frame for the device's screen shape (GetSystemMetrics, see LayoutForScreen).
void RenderFrame();

}  // namespace machine
