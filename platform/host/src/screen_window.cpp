#include <SDL.h>

#include <string>

#include "platform/devices.h"
#include "platform/host.h"

namespace platform::host {

struct ScreenWindow::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int width = 0, height = 0, scale = 1;
  bool stylusDown = false;
  std::string title;
  HardwareLook look{255, false, ""};
  uint32_t lookReadAt = 0;  // SDL ticks of the last read of the device's hardware state
  uint32_t shownFrames = 0;

  // The state lives in the device home and may change in any process; a few reads a second
  // keep the window current without touching the files every frame.
  void RefreshLook() {
    uint32_t now = SDL_GetTicks();
    if (lookReadAt != 0 && now - lookReadAt < 100) return;
    lookReadAt = now;
    constexpr UINT kVibrator = 1;
    HardwareLook next = LookOfHardware(platform::BacklightLevel(), platform::LedIsOn(kVibrator));
    if (next.titleSuffix != look.titleSuffix)
      SDL_SetWindowTitle(window, (title + next.titleSuffix).c_str());
    look = next;
  }

  ~Impl() {
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (window) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
};

namespace {

uint32_t DeviceKeyOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_LEFT: return DeviceKey::Left;
    case SDLK_RIGHT: return DeviceKey::Right;
    case SDLK_UP: return DeviceKey::Up;
    case SDLK_DOWN: return DeviceKey::Down;
    case SDLK_RETURN: return DeviceKey::Return;
    case SDLK_ESCAPE: return DeviceKey::Escape;
    case SDLK_SPACE: return DeviceKey::Space;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return DeviceKey::Control;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return DeviceKey::Shift;
    default: break;
  }
  if (key >= SDLK_a && key <= SDLK_z) return DeviceKey::LetterA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return DeviceKey::Digit0 + (key - SDLK_0);
  return 0;
}

}  // namespace

HardwareLook LookOfHardware(int backlightLevel, bool vibrating) {
  HardwareLook look{255, vibrating, ""};
  if (backlightLevel == 1) look.brightness = 160;  // D1: low
  if (backlightLevel >= 2) {
    look.brightness = 24;  // standby, sleep and off: the picture is barely there
    look.titleSuffix = " (backlight off)";
  }
  if (vibrating) look.titleSuffix += " (vibrating)";
  return look;
}

ScreenWindow::ScreenWindow(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ScreenWindow::~ScreenWindow() = default;

std::unique_ptr<ScreenWindow> ScreenWindow::Open(std::string_view title, int width, int height,
                                                 int scale, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  auto impl = std::make_unique<Impl>();
  impl->width = width;
  impl->height = height;
  impl->scale = scale < 1 ? 1 : scale;
  impl->title = title;
  impl->window =
      SDL_CreateWindow(std::string(title).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       width * impl->scale, height * impl->scale, 0);
  if (impl->window) impl->renderer = SDL_CreateRenderer(impl->window, -1, 0);
  if (impl->renderer) {
    impl->texture = SDL_CreateTexture(impl->renderer, SDL_PIXELFORMAT_RGB565,
                                      SDL_TEXTUREACCESS_STREAMING, width, height);
  }
  if (!impl->texture) {
    error = SDL_GetError();
    return nullptr;
  }
  return std::unique_ptr<ScreenWindow>(new ScreenWindow(std::move(impl)));
}

void ScreenWindow::Show(const uint16_t* pixels, int pitchPixels) {
  Impl& w = *impl_;
  w.RefreshLook();
  SDL_UpdateTexture(w.texture, nullptr, pixels, pitchPixels * 2);
  SDL_SetTextureColorMod(w.texture, w.look.brightness, w.look.brightness, w.look.brightness);
  SDL_Rect target{0, 0, w.width * w.scale, w.height * w.scale};
  if (w.look.shaking) target.x = (++w.shownFrames & 2) ? 2 * w.scale : -2 * w.scale;
  SDL_RenderClear(w.renderer);
  SDL_RenderCopy(w.renderer, w.texture, nullptr, &target);
  SDL_RenderPresent(w.renderer);
}

bool ScreenWindow::NextEvent(HostEvent& event) {
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT: event = {HostEvent::Kind::Quit}; return true;
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        if (e.key.repeat) break;
        const uint32_t key = DeviceKeyOf(e.key.keysym.sym);
        if (!key) break;
        event = {e.type == SDL_KEYDOWN ? HostEvent::Kind::KeyDown : HostEvent::Kind::KeyUp, key};
        return true;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        impl_->stylusDown = e.type == SDL_MOUSEBUTTONDOWN;
        event = {impl_->stylusDown ? HostEvent::Kind::StylusDown : HostEvent::Kind::StylusUp, 0,
                 e.button.x / impl_->scale, e.button.y / impl_->scale};
        return true;
      case SDL_MOUSEMOTION:
        if (!impl_->stylusDown) break;
        event = {HostEvent::Kind::StylusMove, 0, e.motion.x / impl_->scale,
                 e.motion.y / impl_->scale};
        return true;
      default: break;
    }
  }
  return false;
}

}  // namespace platform::host
