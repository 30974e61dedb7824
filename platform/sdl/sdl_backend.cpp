// The desktop backend over SDL2: one borderless window at the display's bounds in desktop full
// screen (so it covers the screen also where no window manager runs), a streaming texture that
// receives the canvas, and SDL's event queue as the loop's native source.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>

#include "platform/backend.h"
#include "platform/quit_signals.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/thread_frame_timer.h"

namespace pavona::platform {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw EPlatformError(what + ": " + SDL_GetError());
}

class TSdlWindow final : public TWindow {
 public:
  explicit TSdlWindow(TEventLoop& loop) : TWindow(loop) {
    SDL_Rect bounds{0, 0, 640, 480};
    if (SDL_GetDisplayBounds(0, &bounds) != 0) Fail("Cannot read the display's bounds");
    FWindow = SDL_CreateWindow("", bounds.x, bounds.y, bounds.w, bounds.h,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (FWindow == nullptr) Fail("Cannot create the window");
    FRenderer = SDL_CreateRenderer(FWindow, -1, 0);
    if (FRenderer == nullptr) FRenderer = SDL_CreateRenderer(FWindow, -1, SDL_RENDERER_SOFTWARE);
    if (FRenderer == nullptr) {
      SDL_DestroyWindow(FWindow);
      Fail("Cannot create a renderer for the window");
    }
    SyncClientSize();
  }

  ~TSdlWindow() override {
    if (FTexture != nullptr) SDL_DestroyTexture(FTexture);
    SDL_DestroyRenderer(FRenderer);
    SDL_DestroyWindow(FWindow);
  }

  std::uint32_t Id() const { return SDL_GetWindowID(FWindow); }

  void SyncClientSize() {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(FWindow, &w, &h);
    SetClientSize({w, h});
  }

  void HandleExposed() { Exposed(); }

 protected:
  void UploadToScreen(const raster::Rect& area) override {
    const raster::Bitmap& canvas = Canvas();
    if (FTexture == nullptr || FTextureSize != canvas.size()) {
      if (FTexture != nullptr) SDL_DestroyTexture(FTexture);
      FTexture = SDL_CreateTexture(FRenderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   canvas.width(), canvas.height());
      FTextureSize = canvas.size();
      if (FTexture == nullptr) return;
      UploadRows(canvas.bounds());
    } else {
      UploadRows(area);
    }
    SDL_RenderCopy(FRenderer, FTexture, nullptr, nullptr);
    SDL_RenderPresent(FRenderer);
  }

  void ShowNative() override {
    SDL_ShowWindow(FWindow);
    SDL_RaiseWindow(FWindow);
  }

  void SetNativeCaption(const std::string& caption) override {
    SDL_SetWindowTitle(FWindow, caption.c_str());
  }

  void SetNativePointerVisible(bool visible) override {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
  }

 private:
  // Canvas rows are stored bottom-up, so they are copied one by one into the top-down texture.
  void UploadRows(const raster::Rect& area) {
    const SDL_Rect rect{area.Left, area.Top, area.width(), area.height()};
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(FTexture, &rect, &pixels, &pitch) != 0) return;
    auto* target = static_cast<std::uint8_t*>(pixels);
    const std::size_t bytes = static_cast<std::size_t>(area.width()) * sizeof(raster::Pixel);
    for (int y = area.Top; y < area.Bottom; ++y) {
      std::memcpy(target, Canvas().scanline(y) + area.Left, bytes);
      target += pitch;
    }
    SDL_UnlockTexture(FTexture);
  }

  SDL_Window* FWindow = nullptr;
  SDL_Renderer* FRenderer = nullptr;
  SDL_Texture* FTexture = nullptr;
  raster::Size FTextureSize;
};

class TSdlBackend final : public TBackend, private TEventSource {
 public:
  TSdlBackend() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Ours cover SIGHUP too and cannot miss a signal that comes just before a wait.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) Fail("Cannot start the video system");
    FWakeEvent = SDL_RegisterEvents(1);
    try {
      FLoop = std::make_unique<TEventLoop>(static_cast<TEventSource&>(*this));
      FWindow = std::make_unique<TSdlWindow>(*FLoop);
      // A request to end the program closes the window, as the window manager's close does.
      FQuitSignals = std::make_unique<TQuitSignals>([this] { FWindow->PostClose(); });
    } catch (...) {
      FWindow.reset();
      FLoop.reset();
      SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
      throw;
    }
    SDL_StopTextInput();
    // A show is watched, not worked at: the screen must not blank while it runs.
    SDL_DisableScreenSaver();
  }

  ~TSdlBackend() override {
    FQuitSignals.reset();
    FWindow.reset();
    FLoop.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  TEventLoop& Loop() override { return *FLoop; }
  TWindow& MainWindow() override { return *FWindow; }
  std::unique_ptr<TFrameTimer> CreateFrameTimer() override {
    return std::make_unique<TThreadFrameTimer>(*FLoop);
  }

 private:
  void Pump() override {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) Translate(event);
  }

  bool Wait(int timeoutMs) override {
    if (timeoutMs < 0) {
      SDL_WaitEvent(nullptr);
    } else {
      SDL_WaitEventTimeout(nullptr, timeoutMs);
    }
    return true;
  }

  // At most one wake-up event is in SDL's queue at a time, however many posts come.
  void Wake() override {
    if (FWakePending.exchange(true)) return;
    SDL_Event event{};
    event.type = FWakeEvent;
    if (SDL_PushEvent(&event) != 1) FWakePending = false;
  }

  std::uint64_t NowMs() const override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }

  void Translate(const SDL_Event& event) {
    if (event.type == FWakeEvent) {
      FWakePending = false;
      return;
    }
    switch (event.type) {
      case SDL_KEYDOWN: {
        const bool numLock = (event.key.keysym.mod & KMOD_NUM) != 0;
        FWindow->PostKeyDown(
            sdl::VirtualKeyOf(event.key.keysym.scancode, event.key.keysym.sym, numLock),
            sdl::ShiftStateOfModifiers(event.key.keysym.mod));
        break;
      }
      case SDL_MOUSEBUTTONDOWN: {
        TMouseButton button;
        if (event.button.button == SDL_BUTTON_LEFT) {
          button = mbLeft;
        } else if (event.button.button == SDL_BUTTON_RIGHT) {
          button = mbRight;
        } else if (event.button.button == SDL_BUTTON_MIDDLE) {
          button = mbMiddle;
        } else {
          break;
        }
        TShiftState shift = sdl::ShiftStateOfModifiers(SDL_GetModState());
        const std::uint32_t buttons = SDL_GetMouseState(nullptr, nullptr);
        if (buttons & SDL_BUTTON_LMASK) shift |= ssLeft;
        if (buttons & SDL_BUTTON_RMASK) shift |= ssRight;
        if (buttons & SDL_BUTTON_MMASK) shift |= ssMiddle;
        if (event.button.clicks >= 2 && event.button.clicks % 2 == 0) shift |= ssDouble;
        FWindow->PostMouseDown(button, shift, event.button.x, event.button.y);
        break;
      }
      case SDL_MOUSEMOTION:
        FWindow->PostMouseMove(event.motion.x, event.motion.y);
        break;
      case SDL_QUIT:
        FWindow->PostClose();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != FWindow->Id()) break;
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            FWindow->PostClose();
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            FWindow->SyncClientSize();
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            FWindow->HandleExposed();
            break;
          default:
            break;
        }
        break;
      default:
        break;
    }
  }

  std::uint32_t FWakeEvent = 0;
  std::atomic<bool> FWakePending{false};
  std::unique_ptr<TEventLoop> FLoop;
  std::unique_ptr<TSdlWindow> FWindow;
  std::unique_ptr<TQuitSignals> FQuitSignals;
};

}  // namespace

std::unique_ptr<TBackend> CreateBackend() { return std::make_unique<TSdlBackend>(); }

}  // namespace pavona::platform
