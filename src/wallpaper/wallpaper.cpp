#include "wallpaper/wallpaper.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "desktop/desktop_wallpaper.h"
#include "desktop/sign_in_start.h"
#include "desktop/window_cover.h"
#include "resources/resource_ids.h"
#include "show/monitors.h"
#include "show/show.h"
#include "wallpaper/wallpaper_pictures.h"
#include "wallpaper/water_seen.h"
#include "win32/dpi.h"

namespace {

constexpr UINT trayMessage = WM_APP + 21;
constexpr UINT settingsChangedMessage = WM_APP + 22;
constexpr UINT windowsMovedMessage = WM_APP + 23;
constexpr UINT nextHandReadyMessage = WM_APP + 24;
constexpr UINT shellWindowsMessage = WM_APP + 25;
constexpr UINT settingsReadMessage = WM_APP + 26;
constexpr UINT picturesReadyMessage = WM_APP + 27;
constexpr UINT screenLookedMessage = WM_APP + 28;

// While some water runs, the other windows are looked at every second; the shell's window
// events bring the look forward, and are all that wakes the program while nothing runs.
constexpr UINT_PTR coverTimerId = 2;
constexpr UINT coverIntervalMs = 1000;
constexpr UINT_PTR coverSoonTimerId = 3;
constexpr UINT coverSoonMs = 150;
// The desktop's windows, the monitors or the settings changed: the waters are made again
// once the changes settle.
constexpr UINT_PTR rebuildTimerId = 4;
constexpr UINT rebuildDelayMs = 400;
constexpr UINT_PTR settingsTimerId = 5;
constexpr UINT settingsDelayMs = 300;
constexpr UINT_PTR changeTimerId = 6;
// Wine raises a top-level window it has just shown once the X server has mapped it, past
// its request to lie at the bottom; the windows are put back there once that is done.
constexpr UINT_PTR restackTimerId = 7;
constexpr UINT restackDelayMs = 500;
// The shell's windows or the monitors changed: ours are put back in place once that settles.
constexpr UINT_PTR arrangeTimerId = 8;
// A new water is looked at on the screen once its first frame has had time to get there.
constexpr UINT_PTR lookTimerId = 9;
constexpr UINT lookDelayMs = 300;

enum MenuCommand : UINT {
    pauseCommand = 1,
    settingsCommand,
    signInCommand,
    stopCommand,
    tryAgainCommand
};

} // namespace

Wallpaper::Wallpaper(WallpaperSetup setup) : setup_(std::move(setup)) {}

// Each part goes before what it uses: the waters and the folder's worker, then what tells
// the window of events, and the window itself last.
Wallpaper::~Wallpaper() {
    settingsJobs_.reset();
    pictureJobs_.reset();
    lookJobs_.reset();
    changer_.reset();
    tearDown();
    windowEvents_.reset();
    settingsWatch_.reset();
    tray_.reset();
    quiet_.reset();
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

int Wallpaper::run(HINSTANCE instance) {
    instance_ = instance;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = wallpaperWindowClass;
    RegisterClassExW(&windowClass);
    // A hidden top-level window: the shell's broadcasts (a new taskbar, display and settings
    // changes) reach it, the session's and the power's notices too.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, wallpaperWindowClass, L"Pluvette", WS_POPUP, 0, 0,
                              0, 0, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return 1;
    }
    quiet_ = std::make_unique<QuietTimes>(window_);
    // At the scale of the monitor the hidden window stands on, the primary one, where the
    // notification area is.
    trayPicture_ = win32::Icon(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                   win32::systemMetricForDpi(SM_CXSMICON, win32::dpiOfWindow(window_)),
                   win32::systemMetricForDpi(SM_CYSMICON, win32::dpiOfWindow(window_)), 0)));
    tray_ = std::make_unique<TrayIcon>(window_, trayMessage, trayPicture_.get(), L"Pluvette");
    windowEvents_ =
        std::make_unique<WindowEvents>(window_, windowsMovedMessage, shellWindowsMessage);
    settingsWatch_ =
        std::make_unique<win32::FileWatch>(setup_.settingsFile, window_, settingsChangedMessage);
    // The pointer wherever it goes: the icons' view takes the input over the desktop.
    const RAWINPUTDEVICE mouse{0x01, 0x02, RIDEV_INPUTSINK, window_};
    RegisterRawInputDevices(&mouse, 1, sizeof(mouse));
    std::srand(GetTickCount());
    settingsJobs_ = std::make_unique<win32::BackgroundJobs>(window_, settingsReadMessage);
    pictureJobs_ = std::make_unique<win32::BackgroundJobs>(window_, picturesReadyMessage);
    lookJobs_ = std::make_unique<win32::BackgroundJobs>(window_, screenLookedMessage);
    readSettings(); // the waters come once their pictures are ready
    tray_->show();
    MSG message;
    while (!stopped_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

LRESULT CALLBACK Wallpaper::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<Wallpaper*>(create->lpCreateParams)->window_ = window;
    }
    auto* wallpaper = reinterpret_cast<Wallpaper*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (wallpaper == nullptr || message == WM_NCDESTROY) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return wallpaper->handle(message, wParam, lParam);
}

// The settings file read on a background job (another program may hold it for a while).
void Wallpaper::readSettings() {
    auto made = std::make_shared<SettingsRead>();
    settingsMade_ = made;
    settingsJobs_->start([made, file = setup_.settingsFile](const std::atomic<bool>&) {
        *made = readSettingsFile(file);
    });
}

// What the settings read change: new pictures are made (and the waters with them once they
// are ready), a new rain falls on the waters as they are, a new interval starts the wait
// for the next pictures again. A file another program holds even after the retries keeps
// the settings the water has.
void Wallpaper::takeSettings() {
    SettingsRead read = std::move(*settingsMade_);
    if (keptUnread(read.outcome) && settingsKnown_) {
        return;
    }
    const Settings before = std::exchange(settings_, std::move(read.settings));
    const bool first = !std::exchange(settingsKnown_, true);
    if (first || before.backgroundKind != settings_.backgroundKind ||
        before.background != settings_.background || before.placement != settings_.placement) {
        makePictures();
        return;
    }
    if (before.rain != settings_.rain) {
        for (const MonitorWater& water : waters_) {
            setWaterRain(water.water, rainAmountFor(settings_.rain));
        }
    }
    if (before.changeMs != settings_.changeMs) {
        KillTimer(window_, changeTimerId);
        changeTimerRuns_ = false;
        if (changer_ != nullptr) {
            changer_->restartWait();
        }
        applyPauses();
    }
}

// Each monitor's picture made on a background job for the monitors as they are now; the
// waters are made again with them once they are ready.
void Wallpaper::makePictures() {
    auto made = std::make_shared<WallpaperPictures>();
    picturesMade_ = made;
    picturesFor_ = showMonitors();
    pictureJobs_->start(
        [made, settings = settings_, monitors = picturesFor_](const std::atomic<bool>& stop) {
            *made = wallpaperPictures(settings, monitors, stop);
        });
}

void Wallpaper::takePictures() {
    WallpaperPictures made = std::move(*picturesMade_);
    if (made.pictures.empty()) {
        return; // no memory for them: the water shows what it showed
    }
    changer_ = std::move(made.changer);
    shown_ = std::move(made.pictures);
    monitors_ = picturesFor_;
    build();
}

// Makes a water for every monitor in the desktop's layer as it stands now: in the first
// layout whose waters can all be made and placed.
void Wallpaper::build() {
    buildFrom(DesktopLayout::besideIcons);
}

// Layouts are tried from the one given: one whose waters cannot be made, placed or seen
// passes to the next. Top-level windows at the bottom are the layout of a desktop without the
// shell's windows only: where the shell's desktop is there, they would lie under it unseen,
// and the water pauses and says so instead.
void Wallpaper::buildFrom(DesktopLayout from) {
    tearDown();
    KillTimer(window_, rebuildTimerId);
    KillTimer(window_, arrangeTimerId);
    KillTimer(window_, lookTimerId);
    unseen_ = false;
    if (shown_.empty()) {
        return; // made once the pictures are ready
    }
    const std::vector<SIZE> sizes = sizesOf(monitors_);
    for (;;) {
        layer_ = findDesktopLayer(from);
        if (from == DesktopLayout::besideIcons) {
            shellDesktop_ = layer_.layout != DesktopLayout::bottomWindows;
        }
        if (layer_.layout == DesktopLayout::bottomWindows && shellDesktop_) {
            sayUnseen();
            return;
        }
        if (makeWaters(sizes, shown_) || layer_.layout == DesktopLayout::bottomWindows) {
            break;
        }
        tearDown();
        from = DesktopLayout(int(layer_.layout) + 1);
    }
    if (layer_.layout == DesktopLayout::bottomWindows) {
        SetTimer(window_, restackTimerId, restackDelayMs, nullptr);
    }
    if (changer_ != nullptr && settings_.changeMs) {
        changer_->awaitNextHand(window_, nextHandReadyMessage);
    }
    // Held still while its last frame reaches the screen, then looked at there.
    holding_ = true;
    SetTimer(window_, lookTimerId, lookDelayMs, nullptr);
    checkCover();
}

// Whether the waters' frames are on the screen, looked at on a job of its own: reading the
// screen waits for whatever composes it. The waters stay still until the answer comes.
void Wallpaper::lookAtScreen() {
    KillTimer(window_, lookTimerId);
    std::vector<ShownFrame> frames;
    for (const MonitorWater& water : waters_) {
        if (const RippleSurface* surface = rippleSurfaceOf(water.water)) {
            frames.push_back({water.water, water.area, surface->output});
        }
    }
    auto seen = std::make_shared<WaterSeen>(WaterSeen::unknown);
    lookedAt_ = seen;
    lookJob_ =
        lookJobs_->start([seen, points = pointsToLook(frames), icons = layer_.icons](
                             const std::atomic<bool>&) { *seen = watersSeen(points, icons); });
    if (lookJob_ == 0) {
        takeLook(); // no thread to look with: the water runs as if seen
    }
}

// A layout whose water is not seen counts as failed.
void Wallpaper::takeLook() {
    lookJob_ = 0;
    holding_ = false;
    if (*lookedAt_ == WaterSeen::no && layer_.layout != DesktopLayout::bottomWindows) {
        buildFrom(DesktopLayout(int(layer_.layout) + 1));
        return;
    }
    applyPauses();
}

// No layout shows the water on this desktop: nothing of it runs or lies over the icons, and
// the notification icon says so; its menu offers to try again.
void Wallpaper::sayUnseen() {
    tearDown();
    unseen_ = true;
    tray_->tell(L"Pluvette", setup_.menuTexts.unseen);
    applyPauses();
}

// Each water made top-level and hidden, then taken into the layer, as the programs that draw
// on the desktop every day make theirs. False when any cannot be made or placed.
bool Wallpaper::makeWaters(const std::vector<SIZE>& sizes,
                           const std::vector<std::vector<uint32_t>>& shown) {
    waters_.clear();
    RippleOptions options;
    options.rain = rainAmountFor(settings_.rain);
    options.pointerRipples = false; // followed from here: the icons' view takes the input
    options.takesActivation = false;
    options.host = this;
    options.pictureAtEdges = true;
    options.rainSteps = false; // all day, every step counts
    options.style = WS_POPUP;
    options.exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    options.staysAtBottom = layer_.layout == DesktopLayout::bottomWindows;
    for (size_t i = 0; i < monitors_.size(); ++i) {
        const RECT& area = monitors_[i];
        RippleSurface* surface =
            createRippleSurface(area.left, area.top, sizes[i].cx, sizes[i].cy,
                                IDC_WATER + unsigned(i), nullptr, instance_, nullptr, options);
        if (surface == nullptr) {
            return false;
        }
        waters_.push_back({area, static_cast<HWND>(surface->window)});
        if (i < shown.size() && shown[i].size() == size_t(surface->pixelCount)) {
            std::copy(shown[i].begin(), shown[i].end(), surface->source);
            showSourceAtEdges(surface);
            markRippleSurfaceChanged(surface);
        }
        if (!adoptIntoLayer(layer_, waters_.back().water)) {
            return false;
        }
    }
    return arrangeInLayer(layer_, layerWindows());
}

std::vector<LayerWindow> Wallpaper::layerWindows() const {
    std::vector<LayerWindow> windows;
    for (const MonitorWater& water : waters_) {
        if (water.water != nullptr) {
            windows.push_back({water.water, water.area});
        }
    }
    return windows;
}

// The waters and the shell's windows beside them put back where the layout has them, should
// the shell have replaced or reordered its windows or a display change have moved ours; made
// again only where that fails.
void Wallpaper::keepArrangement() {
    KillTimer(window_, arrangeTimerId);
    const std::vector<RECT> monitors = showMonitors();
    if (!std::equal(monitors.begin(), monitors.end(), monitors_.begin(), monitors_.end(),
                    [](const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; })) {
        makePictures(); // of the monitors' new sizes
        return;
    }
    const std::vector<LayerWindow> windows = layerWindows();
    if (windows.size() != monitors_.size() || !refreshLayer(layer_)) {
        build();
        return;
    }
    if (!arrangementStands(layer_, windows) &&
        (!arrangeInLayer(layer_, windows) || !arrangementStands(layer_, windows))) {
        build();
        return;
    }
    checkCover();
}

void Wallpaper::tearDown() {
    lookJob_ = 0; // the look under way was at these waters
    tearingDown_ = true;
    for (MonitorWater& water : waters_) {
        if (water.water != nullptr && IsWindow(water.water)) {
            DestroyWindow(water.water);
        }
        water.water = nullptr;
    }
    tearingDown_ = false;
}

void Wallpaper::rebuildSoon() {
    SetTimer(window_, rebuildTimerId, rebuildDelayMs, nullptr);
}

void Wallpaper::arrangeSoon() {
    SetTimer(window_, arrangeTimerId, rebuildDelayMs, nullptr);
}

// Which monitors other windows hide now; the screen saver hides them all. The processes whose
// windows lie over the monitors are watched from then on.
void Wallpaper::checkCover() {
    MonitorCover cover = coveredMonitors(monitors_, L"RippleImage");
    BOOL saverRunning = FALSE;
    SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &saverRunning, 0);
    for (size_t i = 0; i < waters_.size() && i < cover.covered.size(); ++i) {
        waters_[i].covered = cover.covered[i] || saverRunning;
    }
    DWORD shell = 0;
    GetWindowThreadProcessId(FindWindowW(L"Progman", nullptr), &shell);
    windowEvents_->watch(std::move(cover.processes), shell);
    applyPauses();
}

// Stops each water nobody sees, and every timer when none is seen.
void Wallpaper::applyPauses() {
    const bool allQuiet = userPaused_ || quiet_->quiet();
    bool anyRuns = false;
    for (const MonitorWater& water : waters_) {
        const bool paused = allQuiet || holding_ || water.covered || water.water == nullptr;
        pauseWater(water.water, paused);
        anyRuns = anyRuns || !paused;
    }
    // Only the shell's window events say when a window goes; where none has come yet (Wine
    // sends none of other programs' windows), the look goes on every second while only
    // windows hide the water.
    const bool looks = anyRuns || (!allQuiet && !windowEventsSeen_);
    if (looks != coverTimerRuns_) {
        looks ? SetTimer(window_, coverTimerId, coverIntervalMs, nullptr)
              : KillTimer(window_, coverTimerId);
        coverTimerRuns_ = looks;
    }
    // The next picture is due a whole interval after the water last started or changed.
    const bool changes = anyRuns && changer_ != nullptr && settings_.changeMs && !changer_->due();
    if (changes && !changeTimerRuns_) {
        SetTimer(window_, changeTimerId, *settings_.changeMs, nullptr);
    } else if (!changes && changeTimerRuns_) {
        KillTimer(window_, changeTimerId);
    }
    changeTimerRuns_ = changes;
}

// The pointer moved or a button was pressed anywhere (raw input, which costs nothing while
// the pointer rests): a calm water under the pointer starts stepping again, and follows the
// pointer as it steps. The buttons are the physical ones: the primary one is the right where
// the user swapped them.
void Wallpaper::pointerInput(USHORT buttons) {
    const bool swapped = GetSystemMetrics(SM_SWAPBUTTON) != 0;
    const USHORT primaryDown = swapped ? RI_MOUSE_RIGHT_BUTTON_DOWN : RI_MOUSE_LEFT_BUTTON_DOWN;
    POINT at{};
    GetCursorPos(&at);
    for (const MonitorWater& water : waters_) {
        if (water.water != nullptr && PtInRect(&water.area, at) && !waterPaused(water.water)) {
            pressSeen_ = pressSeen_ || (buttons & primaryDown) != 0;
            wakeWater(water.water);
            return;
        }
    }
    pressSeen_ = false; // a press where no water runs is not one for later
}

// Ripples where the pointer moves over the desktop, a large one where it presses there; the
// input itself goes on to the icons untouched. Looked at as each water steps, on the water
// the pointer is over: no timer of its own.
void Wallpaper::followPointer(const MonitorWater& water) {
    POINT at{};
    if (!GetCursorPos(&at) || !PtInRect(&water.area, at)) {
        return;
    }
    const int primary = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    const bool primaryDown = (GetAsyncKeyState(primary) & 0x8000) != 0;
    const bool pressed = std::exchange(pressSeen_, false) || (primaryDown && !primaryWasDown_);
    const bool moved = at.x != lastPointer_.x || at.y != lastPointer_.y;
    primaryWasDown_ = primaryDown;
    lastPointer_ = at;
    if ((!moved && !pressed) || !desktopSeenAt(at, L"RippleImage")) {
        return;
    }
    dropOnWater(water.water, at.x - water.area.left, at.y - water.area.top,
                pressed ? mouseClickDrop : mouseMoveDrop);
}

// Brings the next hand of the folder in under the waters once it is due and ready.
void Wallpaper::showNextHand(std::optional<PictureChanger::Hand> hand) {
    if (!hand) {
        return;
    }
    for (size_t i = 0; i < hand->size() && i < waters_.size(); ++i) {
        if (!(*hand)[i].empty() && waters_[i].water != nullptr) {
            fadeInPicture(waters_[i].water, std::move((*hand)[i]));
        }
    }
    changer_->awaitNextHand(window_, nextHandReadyMessage);
    applyPauses();
}

void Wallpaper::showMenu(POINT at) {
    const HMENU menu = CreatePopupMenu();
    const WallpaperMenuTexts& texts = setup_.menuTexts;
    if (unseen_) {
        AppendMenuW(menu, MF_STRING, tryAgainCommand, texts.tryAgain.c_str());
    } else {
        AppendMenuW(menu, MF_STRING, pauseCommand,
                    (userPaused_ ? texts.resume : texts.pause).c_str());
    }
    AppendMenuW(menu, MF_STRING, settingsCommand, texts.settings.c_str());
    AppendMenuW(menu, MF_STRING | (startsAtSignIn() ? MF_CHECKED : 0), signInCommand,
                texts.startWithWindows.c_str());
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, stopCommand, texts.stop.c_str());
    SetMenuDefaultItem(menu, unseen_ ? tryAgainCommand : settingsCommand, FALSE);
    // The menu closes when the user clicks elsewhere only if its window is in front.
    SetForegroundWindow(window_);
    const UINT command =
        UINT(TrackPopupMenuEx(menu,
                              TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN |
                                  (texts.rightToLeft ? TPM_LAYOUTRTL : 0),
                              at.x, at.y, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    DestroyMenu(menu);
    switch (command) {
    case pauseCommand:
        userPaused_ = !userPaused_;
        applyPauses();
        break;
    case tryAgainCommand:
        build();
        break;
    case settingsCommand:
        openSettings();
        break;
    case signInCommand:
        setStartAtSignIn(!startsAtSignIn(), setup_.startCommand(setup_.settingsFile));
        break;
    case stopCommand:
        stop();
        break;
    default:
        break;
    }
}

// The launcher runs in a process of its own, over the settings file the water shows now: its
// choices reach the water through the file, and nothing it does (a show that fails) can end
// or hold up the water. A second one brings the first forward.
void Wallpaper::openSettings() {
    if (setup_.openSettings) {
        setup_.openSettings(setup_.settingsFile);
    }
}

// Leaves the desktop as it was: no water, its own wallpaper drawn again.
void Wallpaper::stop() {
    if (stopped_) {
        return;
    }
    stopped_ = true;
    changer_.reset();
    tearDown();
    tray_.reset();
    repaintDesktopWallpaper();
    PostQuitMessage(0);
}

bool Wallpaper::waterInput(HWND, UINT, WPARAM, LPARAM) {
    return false;
}

void Wallpaper::waterStepping(HWND stepping) {
    for (const MonitorWater& water : waters_) {
        if (water.water == stepping) {
            followPointer(water);
        }
    }
}

void Wallpaper::waterGone(HWND gone) {
    if (tearingDown_) {
        return;
    }
    // Destroyed with the shell's window that held it: made again where the shell is now.
    for (MonitorWater& water : waters_) {
        if (water.water == gone) {
            water.water = nullptr;
        }
    }
    if (!stopped_) {
        rebuildSoon();
    }
}

LRESULT Wallpaper::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (quiet_ != nullptr && quiet_->take(message, wParam, lParam)) {
        applyPauses();
        if (!quiet_->quiet()) {
            arrangeSoon(); // the session back, the displays on: the shell may have moved things
        }
    }
    if (message == taskbarCreatedMessage()) {
        tray_->show(); // the shell started again: its desktop windows are new too
        rebuildSoon();
        return 0;
    }
    switch (message) {
    case trayMessage:
        if (LOWORD(lParam) == WM_CONTEXTMENU || LOWORD(lParam) == WM_RBUTTONUP) {
            showMenu(TrayIcon::pointOf(wParam));
        } else if (LOWORD(lParam) == NIN_SELECT || LOWORD(lParam) == NIN_KEYSELECT ||
                   LOWORD(lParam) == WM_LBUTTONDBLCLK) {
            openSettings();
        }
        return 0;
    case wallpaperOpenSettingsMessage:
        openSettings();
        return 0;
    case WM_COPYDATA: {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data != nullptr && data->dwData == wallpaperSettingsFileData && data->cbData < 32768) {
            setup_.settingsFile.assign(static_cast<const char*>(data->lpData), data->cbData);
            settingsWatch_.reset();
            settingsWatch_ = std::make_unique<win32::FileWatch>(setup_.settingsFile, window_,
                                                                settingsChangedMessage);
            PostMessageW(window_, settingsChangedMessage, 0, 0);
        }
        return TRUE;
    }
    case settingsChangedMessage:
        SetTimer(window_, settingsTimerId, settingsDelayMs, nullptr);
        return 0;
    case windowsMovedMessage:
    case shellWindowsMessage:
        windowEventsSeen_ = true;
        shellChanged_ = shellChanged_ || message == shellWindowsMessage;
        SetTimer(window_, coverSoonTimerId, coverSoonMs, nullptr);
        return 0;
    case WM_INPUT: {
        RAWINPUT input{};
        UINT size = sizeof(input);
        if (GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                            sizeof(RAWINPUTHEADER)) != UINT(-1) &&
            input.header.dwType == RIM_TYPEMOUSE) {
            pointerInput(input.data.mouse.usButtonFlags);
        }
        return DefWindowProcW(window_, message, wParam, lParam);
    }
    case settingsReadMessage:
        if (settingsJobs_->isNewest(wParam)) {
            takeSettings();
        }
        return 0;
    case picturesReadyMessage:
        if (pictureJobs_->isNewest(wParam)) {
            takePictures();
        }
        return 0;
    case screenLookedMessage:
        if (lookJobs_->isNewest(wParam) && wParam == lookJob_) {
            takeLook();
        }
        return 0;
    case nextHandReadyMessage:
        if (changer_ != nullptr) {
            showNextHand(changer_->handWhenReady(wParam));
        }
        return 0;
    case WM_TIMER:
        switch (wParam) {
        case coverTimerId:
            // The shell's changes to its own windows come as events; the look each second
            // while some water runs finds any that came without one.
            if (!holding_ && !layerWindows().empty()) {
                keepArrangement();
            } else {
                checkCover();
            }
            break;
        case coverSoonTimerId:
            KillTimer(window_, coverSoonTimerId);
            if (std::exchange(shellChanged_, false)) {
                keepArrangement();
            } else {
                checkCover();
            }
            break;
        case rebuildTimerId:
            build();
            break;
        case arrangeTimerId:
            keepArrangement();
            break;
        case lookTimerId:
            lookAtScreen();
            break;
        case restackTimerId:
            KillTimer(window_, restackTimerId);
            for (const MonitorWater& water : waters_) {
                SetWindowPos(water.water, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
            break;
        case settingsTimerId:
            KillTimer(window_, settingsTimerId);
            readSettings();
            break;
        case changeTimerId:
            KillTimer(window_, changeTimerId);
            changeTimerRuns_ = false;
            if (changer_ != nullptr) {
                showNextHand(changer_->handWhenDue());
            }
            break;
        default:
            break;
        }
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        arrangeSoon(); // made again where the monitors changed
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA) {
            arrangeSoon();
        } else if (wParam == SPI_SETDESKWALLPAPER &&
                   settings_.backgroundKind == BackgroundKind::screen && !stopped_) {
            makePictures();
        }
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            arrangeSoon(); // monitors may have come back in another order
        }
        return TRUE;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != 0) {
            stop();
        }
        return 0;
    case WM_CLOSE:
        stop();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}
