#include "platform/user32/display/xrandr_backend.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/user32/display/fixed_screen_backend.h"
#include "platform/user32/display/screen_geometry.h"

namespace win32::display {
namespace {

template <auto Free>
struct XDeleter {
  template <typename T>
  void operator()(T* p) const {
    Free(p);
  }
};
using Resources = std::unique_ptr<XRRScreenResources, XDeleter<XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, XDeleter<XRRFreeOutputInfo>>;
using CrtcInfo = std::unique_ptr<XRRCrtcInfo, XDeleter<XRRFreeCrtcInfo>>;

// Collects the X errors of a run of requests on one display. Xlib's default handler would
// end the process for a request the server refuses (a mode that vanished, a screen size
// another client just took).
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display) : display_(display) {
    XSync(display_, False);
    previous_ = XSetErrorHandler(&Handle);
    active_ = this;
  }
  ~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previous_);
    active_ = nullptr;
  }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  bool Failed() {
    XSync(display_, False);
    return failed_;
  }

 private:
  static int Handle(Display* display, XErrorEvent* event) {
    if (active_ && display == active_->display_) {
      active_->failed_ = true;
      return 0;
    }
    return active_ && active_->previous_ ? active_->previous_(display, event) : 0;
  }

  static inline ErrorTrap* active_ = nullptr;
  Display* display_;
  XErrorHandler previous_ = nullptr;
  bool failed_ = false;
};

int BitsOfDepth(int depth) { return depth > 16 ? 32 : depth > 8 ? 16 : 8; }

HardwareMode ToHardware(const XRRModeInfo& mode, Rotation rotation) {
  bool sideways = (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
  int width = static_cast<int>(sideways ? mode.height : mode.width);
  int height = static_cast<int>(sideways ? mode.width : mode.height);
  bool interlaced = (mode.modeFlags & RR_Interlace) != 0;
  return {width, height,
          RefreshHz(mode.dotClock, mode.hTotal, mode.vTotal, interlaced, (mode.modeFlags & RR_DoubleScan) != 0),
          interlaced};
}

const XRRModeInfo* FindMode(const XRRScreenResources& resources, RRMode id) {
  for (int i = 0; i < resources.nmode; ++i) {
    if (resources.modes[i].id == id) return &resources.modes[i];
  }
  return nullptr;
}

// The primary output as the server has it now; `crtc` is null when no output is lit.
struct Output {
  Resources resources;
  RROutput id = None;
  OutputInfo info;
  CrtcInfo crtc;
};

// What a CRTC is set to, and the screen around it.
struct CrtcSetting {
  RRCrtc crtc = None;
  RRMode mode = None;
  int x = 0;
  int y = 0;
  Rotation rotation = RR_Rotate_0;
  std::vector<RROutput> outputs;
};
struct ScreenSetting {
  ScreenSize pixels;
  ScreenSize millimetres;
};

class XRandrBackend final : public DisplayBackend {
 public:
  explicit XRandrBackend(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
    XRRSelectInput(display_, root_, RRScreenChangeNotifyMask | RRCrtcChangeNotifyMask | RROutputChangeNotifyMask);
    Refresh();
    // XWayland's screen is the compositor's: it takes a mode for this client alone (and scales
    // that client's full-screen windows to the output) and refuses screen sizes of its own.
    Output out = ReadOutput();
    screenSizeIsOurs_ = !(out.info && std::string_view(out.info->name, out.info->nameLen).starts_with("XWAYLAND"));
  }
  ~XRandrBackend() override { XCloseDisplay(display_); }
  XRandrBackend(const XRandrBackend&) = delete;
  XRandrBackend& operator=(const XRandrBackend&) = delete;

  bool HasLitOutput() const { return current_.has_value(); }

  std::vector<HardwareMode> Modes() override {
    Output out = ReadOutput();
    if (!out.crtc) return {Current()};
    std::vector<HardwareMode> modes;
    for (int i = 0; i < out.info->nmode; ++i) {
      if (const XRRModeInfo* mode = FindMode(*out.resources, out.info->modes[i])) {
        modes.push_back(ToHardware(*mode, out.crtc->rotation));
      }
    }
    return modes;
  }

  HardwareMode Current() override {
    Poll();
    return current_.value_or(HardwareMode{});
  }

  int NativeBitsPerPixel() override { return BitsOfDepth(DefaultDepth(display_, DefaultScreen(display_))); }

  bool CanApply(const HardwareMode& mode) override {
    Output out = ReadOutput();
    return Plan(out, mode).has_value();
  }

  bool Apply(const HardwareMode& mode) override {
    Output out = ReadOutput();
    std::optional<std::pair<RRMode, ScreenSize>> plan = Plan(out, mode);
    if (!plan) return false;
    CrtcSetting crtc{out.info->crtc, plan->first,        out.crtc->x,
                     out.crtc->y,    out.crtc->rotation, {out.crtc->outputs, out.crtc->outputs + out.crtc->noutput}};
    return Switch(*out.resources, crtc, {plan->second, Millimetres(plan->second)});
  }

  std::string Snapshot() override {
    Poll();
    Output out = ReadOutput();
    if (!out.crtc) return {};
    ScreenSetting screen = CurrentScreen();
    std::ostringstream text;
    text << "randr1 " << DisplayString(display_) << ' ' << out.info->crtc << ' ' << out.crtc->mode << ' ' << out.crtc->x
         << ' ' << out.crtc->y << ' ' << out.crtc->rotation << ' ' << screen.pixels.width << ' ' << screen.pixels.height
         << ' ' << screen.millimetres.width << ' ' << screen.millimetres.height << ' ' << out.crtc->noutput;
    for (int i = 0; i < out.crtc->noutput; ++i) text << ' ' << out.crtc->outputs[i];
    return text.str();
  }

  bool Restore(const std::string& snapshot) override {
    std::istringstream text(snapshot);
    std::string tag, displayName;
    CrtcSetting crtc;
    ScreenSetting screen;
    int outputs = 0;
    text >> tag >> displayName >> crtc.crtc >> crtc.mode >> crtc.x >> crtc.y >> crtc.rotation >> screen.pixels.width >>
        screen.pixels.height >> screen.millimetres.width >> screen.millimetres.height >> outputs;
    if (!text || tag != "randr1" || outputs < 1 || outputs > 64) return false;
    crtc.outputs.resize(static_cast<std::size_t>(outputs));
    for (RROutput& output : crtc.outputs) text >> output;
    if (!text) return false;
    Resources resources(XRRGetScreenResourcesCurrent(display_, root_));
    return resources && Switch(*resources, crtc, screen);
  }

 private:
  // Takes in what the server reported since the last look: switches by other clients too.
  void Poll() {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      XRRUpdateConfiguration(&event);
      stale_ = true;
    }
    if (stale_) Refresh();
  }

  void Refresh() {
    stale_ = false;
    Output out = ReadOutput();
    if (!out.crtc) return;  // an output that went dark keeps its last mode
    if (const XRRModeInfo* mode = FindMode(*out.resources, out.crtc->mode)) {
      current_ = ToHardware(*mode, out.crtc->rotation);
    }
  }

  Output ReadOutput() {
    Output out;
    out.resources.reset(XRRGetScreenResourcesCurrent(display_, root_));
    if (!out.resources) return out;
    std::vector<RROutput> candidates{XRRGetOutputPrimary(display_, root_)};
    candidates.insert(candidates.end(), out.resources->outputs, out.resources->outputs + out.resources->noutput);
    for (RROutput id : candidates) {
      if (id == None) continue;
      OutputInfo info(XRRGetOutputInfo(display_, out.resources.get(), id));
      if (!info || info->connection != RR_Connected || info->crtc == None) continue;
      CrtcInfo crtc(XRRGetCrtcInfo(display_, out.resources.get(), info->crtc));
      if (!crtc || crtc->mode == None) continue;
      out.id = id;
      out.info = std::move(info);
      out.crtc = std::move(crtc);
      break;
    }
    return out;
  }

  // The output's mode that is `mode`, and the screen that holds it beside the other lit
  // CRTCs; nothing when the output lacks the mode or the server cannot make such a screen.
  std::optional<std::pair<RRMode, ScreenSize>> Plan(const Output& out, const HardwareMode& mode) {
    if (!out.crtc) return std::nullopt;
    RRMode id = None;
    for (int i = 0; i < out.info->nmode && id == None; ++i) {
      const XRRModeInfo* info = FindMode(*out.resources, out.info->modes[i]);
      if (info && ToHardware(*info, out.crtc->rotation) == mode) id = info->id;
    }
    if (id == None) return std::nullopt;
    std::vector<ScreenRect> lit;
    for (int i = 0; i < out.resources->ncrtc; ++i) {
      RRCrtc crtc = out.resources->crtcs[i];
      if (crtc == out.info->crtc) {
        lit.push_back({out.crtc->x, out.crtc->y, mode.width, mode.height});
        continue;
      }
      CrtcInfo info(XRRGetCrtcInfo(display_, out.resources.get(), crtc));
      if (info && info->mode != None) {
        lit.push_back({info->x, info->y, static_cast<int>(info->width), static_cast<int>(info->height)});
      }
    }
    int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
    if (!XRRGetScreenSizeRange(display_, root_, &minWidth, &minHeight, &maxWidth, &maxHeight)) return std::nullopt;
    std::optional<ScreenSize> screen = ScreenToHold(lit, {minWidth, minHeight}, {maxWidth, maxHeight});
    if (!screen) return std::nullopt;
    return std::pair{id, *screen};
  }

  ScreenSetting CurrentScreen() {
    Window root;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    XGetGeometry(display_, root_, &root, &x, &y, &width, &height, &border, &depth);
    ScreenSize pixels{static_cast<int>(width), static_cast<int>(height)};
    return {pixels, Millimetres(pixels)};
  }

  // Xlib keeps the screen's size in pixels and millimetres side by side (updated together
  // by XRRUpdateConfiguration), so their ratio is the screen's density even when stale.
  ScreenSize Millimetres(ScreenSize pixels) {
    int screen = DefaultScreen(display_);
    return {ScaledMillimetres(pixels.width, DisplayWidth(display_, screen), DisplayWidthMM(display_, screen)),
            ScaledMillimetres(pixels.height, DisplayHeight(display_, screen), DisplayHeightMM(display_, screen))};
  }

  void SetScreen(const ScreenSetting& screen) {
    if (!screenSizeIsOurs_) return;
    XRRSetScreenSize(display_, root_, screen.pixels.width, screen.pixels.height, screen.millimetres.width,
                     screen.millimetres.height);
  }

  // Sets one CRTC and the screen size under a server grab, so that no client sees the
  // screen half-switched. On failure the screen keeps its size.
  bool Switch(XRRScreenResources& resources, const CrtcSetting& crtc, const ScreenSetting& screen) {
    ScreenSetting before = CurrentScreen();
    ScreenSetting through{Union(before.pixels, screen.pixels), {}};
    through.millimetres = Millimetres(through.pixels);
    ErrorTrap trap(display_);
    XGrabServer(display_);
    if (!(through.pixels == before.pixels)) SetScreen(through);
    Status status =
        XRRSetCrtcConfig(display_, &resources, crtc.crtc, CurrentTime, crtc.x, crtc.y, crtc.mode, crtc.rotation,
                         const_cast<RROutput*>(crtc.outputs.data()), static_cast<int>(crtc.outputs.size()));
    bool switched = status == RRSetConfigSuccess && !trap.Failed();
    const ScreenSetting& after = switched ? screen : before;
    if (!(after.pixels == through.pixels)) SetScreen(after);
    XUngrabServer(display_);
    switched = switched && !trap.Failed();
    stale_ = true;
    return switched;
  }

  Display* display_;
  Window root_;
  std::optional<HardwareMode> current_;
  bool stale_ = false;
  bool screenSizeIsOurs_ = true;
};

// The display a snapshot was taken on: its second word.
std::string SnapshotDisplay(const std::string& snapshot) {
  std::istringstream text(snapshot);
  std::string tag, name;
  text >> tag >> name;
  return tag == "randr1" ? name : std::string();
}

}  // namespace

bool RestoreSnapshotOnItsDisplay(const std::string& snapshot) {
  std::string name = SnapshotDisplay(snapshot);
  if (name.empty()) return false;
  std::unique_ptr<DisplayBackend> screen = OpenXDisplayBackend(name.c_str());
  return screen && screen->Restore(snapshot);
}

std::unique_ptr<DisplayBackend> OpenXDisplayBackend(const char* name) {
  Display* display = XOpenDisplay(name);
  if (!display) return nullptr;
  int screen = DefaultScreen(display);
  HardwareMode whole{DisplayWidth(display, screen), DisplayHeight(display, screen), 0, false};
  int bits = BitsOfDepth(DefaultDepth(display, screen));
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
      (major > 1 || (major == 1 && minor >= 3))) {
    auto backend = std::make_unique<XRandrBackend>(display);
    if (backend->HasLitOutput()) return backend;
  } else {
    XCloseDisplay(display);
  }
  return std::make_unique<FixedScreenBackend>(whole, bits);
}

}  // namespace win32::display
