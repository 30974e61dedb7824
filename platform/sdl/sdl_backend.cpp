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
    window_ = SDL_CreateWindow("", bounds.x, bounds.y, bounds.w, bounds.h,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (window_ == nullptr) Fail("Cannot create the window");
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
      SDL_DestroyWindow(window_);
      Fail("Cannot create a renderer for the window");
    }
    SyncClientSize();
  }

  ~TSdlWindow() override {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    SDL_DestroyWindow(window_);
  }

  std::uint32_t Id() const { return SDL_GetWindowID(window_); }

  void SyncClientSize() {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    SetClientSize({w, h});
  }

  void HandleExposed() { Exposed(); }

 protected:
  void UploadToScreen(const raster::Rect& area) override {
    const raster::Bitmap& canvas = Canvas();
    if (texture_ == nullptr || textureSize_ != canvas.size()) {
      if (texture_ != nullptr) SDL_DestroyTexture(texture_);
      texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                   canvas.width(), canvas.height());
      textureSize_ = canvas.size();
      if (texture_ == nullptr) return;
      UploadRows(canvas.bounds());
    } else {
      UploadRows(area);
    }
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
  }

  void ShowNative() override {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
  }

  void SetNativeCaption(const std::string& caption) override {
    SDL_SetWindowTitle(window_, caption.c_str());
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
    if (SDL_LockTexture(texture_, &rect, &pixels, &pitch) != 0) return;
    auto* target = static_cast<std::uint8_t*>(pixels);
    const std::size_t bytes = static_cast<std::size_t>(area.width()) * sizeof(raster::Pixel);
    for (int y = area.Top; y < area.Bottom; ++y) {
      std::memcpy(target, Canvas().scanline(y) + area.Left, bytes);
      target += pitch;
    }
    SDL_UnlockTexture(texture_);
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  raster::Size textureSize_;
};

class TSdlBackend final : public TBackend, private TEventSource {
 public:
  TSdlBackend() {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Ours cover SIGHUP too and cannot miss a signal that comes just before a wait.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) Fail("Cannot start the video system");
    wakeEvent_ = SDL_RegisterEvents(1);
    try {
      loop_ = std::make_unique<TEventLoop>(static_cast<TEventSource&>(*this));
      window_ = std::make_unique<TSdlWindow>(*loop_);
      // A request to end the program closes the window, as the window manager's close does.
      quitSignals_ = std::make_unique<TQuitSignals>([this] { window_->PostClose(); });
    } catch (...) {
      window_.reset();
      loop_.reset();
      SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
      throw;
    }
    SDL_StopTextInput();
    // A show is watched, not worked at: the screen must not blank while it runs.
    SDL_DisableScreenSaver();
  }

  ~TSdlBackend() override {
    quitSignals_.reset();
    window_.reset();
    loop_.reset();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  TEventLoop& Loop() override { return *loop_; }
  TWindow& MainWindow() override { return *window_; }
  std::unique_ptr<TFrameTimer> CreateFrameTimer() override {
    return std::make_unique<TThreadFrameTimer>(*loop_);
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
    if (wakePending_.exchange(true)) return;
    SDL_Event event{};
    event.type = wakeEvent_;
    if (SDL_PushEvent(&event) != 1) wakePending_ = false;
  }

  std::uint64_t NowMs() const override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }

  void Translate(const SDL_Event& event) {
    if (event.type == wakeEvent_) {
      wakePending_ = false;
      return;
    }
    switch (event.type) {
      case SDL_KEYDOWN: {
        const bool numLock = (event.key.keysym.mod & KMOD_NUM) != 0;
        window_->PostKeyDown(
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
        window_->PostMouseDown(button, shift, event.button.x, event.button.y);
        break;
      }
      case SDL_MOUSEMOTION:
        window_->PostMouseMove(event.motion.x, event.motion.y);
        break;
      case SDL_QUIT:
        window_->PostClose();
        break;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != window_->Id()) break;
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            window_->PostClose();
            break;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            window_->SyncClientSize();
            break;
          case SDL_WINDOWEVENT_EXPOSED:
            window_->HandleExposed();
            break;
          default:
            break;
        }
        break;
      default:
        break;
    }
  }

  std::uint32_t wakeEvent_ = 0;
  std::atomic<bool> wakePending_{false};
  std::unique_ptr<TEventLoop> loop_;
  std::unique_ptr<TSdlWindow> window_;
  std::unique_ptr<TQuitSignals> quitSignals_;
};

}  // namespace

std::unique_ptr<TBackend> CreateBackend() { return std::make_unique<TSdlBackend>(); }

}  // namespace pavona::platform
