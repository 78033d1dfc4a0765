#include "show/show.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <utility>

#include "pictures/screen_pictures.h"
#include "show/background.h"
#include "show/close_keys.h"
#include "show/folder_pictures.h"
#include "show/monitors.h"
#include "pictures/placement.h"
#include "win32/bitmap_size.h"
#include "win32/handles.h"

namespace {

constexpr UINT_PTR pictureChangeTimerId = 102;
constexpr UINT nextHandReadyMessage = WM_APP + 1;
constexpr UINT firstPicturesMessage = WM_APP + 2;
// A screen saver over the captured screen dims it by a quarter every change interval, down
// to black, so that no part of the screen shows the same for hours (dimming rather than
// drifting: a bright taskbar moved a few pixels would still stand in nearly the same place).
constexpr UINT_PTR dimTimerId = 103;
constexpr uint32_t dimKeep = 192; // of 256

bool sameAreas(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

HINSTANCE instanceOf(HWND window) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

} // namespace

RainAmount rainAmountFor(Rain rain) {
    switch (rain) {
    case Rain::none:
        return RainAmount::none;
    case Rain::light:
        return RainAmount::light;
    case Rain::heavy:
        return RainAmount::heavy;
    case Rain::normal:
        break;
    }
    return RainAmount::normal;
}

Show::Show(ShowSetup setup) : setup_(std::move(setup)) {}

Show::~Show() = default;

ShowEnd Show::run(HINSTANCE instance) {
    const INT_PTR ended = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SHOW), nullptr, dialogProc,
                                          reinterpret_cast<LPARAM>(this));
    // -1: no window could be made (no window or GDI objects left, or no template), which
    // no ordinary end may pass for.
    return ended == -1 ? ShowEnd::windowUnmade : static_cast<ShowEnd>(ended);
}

INT_PTR CALLBACK Show::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* show = reinterpret_cast<Show*>(lParam);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        show->effectWindow = dialog;
        show->start();
        return FALSE; // the dialog manager sets no keyboard focus
    }
    auto* show = reinterpret_cast<Show*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    return show != nullptr ? show->handle(message, wParam, lParam) : FALSE;
}

// Puts the water over one monitor, whose area is given in the dialog's coordinates: the
// picture placed as the placement says. The surface takes a copy of the picture's
// pixels; the picture stays the caller's.
void Show::showOnMonitor(HBITMAP picture, const RECT& area, unsigned controlId,
                         Placement placement) {
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    const SIZE size = bitmapSize(picture);
    const PlacedPicture placed = placedPicture(
        picture, width, height, placePicture(size.cx, size.cy, width, height, placement));
    if (placed.shown == nullptr) {
        return; // this monitor goes on without water
    }
    const SIZE shown = bitmapSize(placed.shown);
    RippleOptions options;
    options.rain = rainAmount;
    options.pointerRipples = setup_.host == ShowHost::launcher;
    options.host = this;
    createRippleSurface(area.left + placed.corner.x, area.top + placed.corner.y, shown.cx, shown.cy,
                        controlId, effectWindow, instanceOf(effectWindow), placed.shown, options);
}

// What the job that loads the first pictures leaves for the show: one picture for each
// monitor, or one for all, and a folder's changer; no pictures when none could be loaded.
struct Show::FirstPictures {
    std::vector<win32::Bitmap> pictures;
    bool placed = false; // laid on canvases of the monitors' sizes already
    std::unique_ptr<PictureChanger> changer;
};

namespace {

// Loads the chosen file's pictures, or the first hand of the chosen folder's, for monitors of
// these sizes; looks at stop between rows, blocks and pieces of the file.
void loadFirstPictures(Show::FirstPictures& into, const Settings& settings,
                       const std::vector<SIZE>& sizes, const std::atomic<bool>& stop) {
    const win32::ComScope com; // the imaging component and the picture service
    const PictureWork work(PictureWork::atOnce, &stop);
    if (settings.backgroundKind == BackgroundKind::folder) {
        into.changer =
            std::make_unique<PictureChanger>(settings.background, sizes, settings.placement);
        for (Canvas& canvas : into.changer->firstHand(work)) {
            into.pictures.push_back(std::move(canvas.bitmap));
        }
        into.placed = true;
        return;
    }
    ScreenPictures file =
        loadScreenPictures(settings.background.c_str(), sizes, settings.placement, work);
    into.pictures = std::move(file.pictures);
    into.placed = file.placed;
}

} // namespace

// What each monitor shows now, or nothing when one cannot be captured.
std::vector<win32::Bitmap> Show::captures() const {
    std::vector<win32::Bitmap> pictures;
    for (const RECT& monitor : coveredMonitors_) {
        pictures.push_back(captureScreen(monitor));
        if (!pictures.back()) {
            return {};
        }
    }
    return pictures;
}

// Loads the pictures under the water on a job of its own, while the show's window, black,
// answers: a close key, or a screen saver's input, ends the show before they come. A chosen
// file or folder that cannot be shown ends a launched show; a screen saver then shows the
// screens, captured before its window covered them.
void Show::loadBackgrounds() {
    if (settings_.backgroundKind == BackgroundKind::screen) {
        showsCapture_ = true;
        showBackgrounds(captures());
        return;
    }
    if (setup_.host == ShowHost::screenSaver) {
        screensBeforeShow_ = captures();
    }
    firstPictures_ = std::make_shared<FirstPictures>();
    pictureJobs_ = std::make_unique<win32::BackgroundJobs>(effectWindow, firstPicturesMessage);
    const bool started =
        pictureJobs_->start([into = firstPictures_, settings = settings_,
                             sizes = sizesOf(coveredMonitors_)](const std::atomic<bool>& stop) {
            loadFirstPictures(*into, settings, sizes, stop);
        }) != 0;
    if (!started) { // no thread to be had: loaded here, as the show cannot go on otherwise
        const std::atomic<bool> never{false};
        loadFirstPictures(*firstPictures_, settings_, sizesOf(coveredMonitors_), never);
        takeFirstPictures();
    }
}

void Show::takeFirstPictures() {
    FirstPictures loaded = std::move(*firstPictures_);
    firstPictures_.reset();
    pictureChanger_ = std::move(loaded.changer);
    picturesPlaced_ = loaded.placed;
    if (loaded.pictures.empty() && setup_.host == ShowHost::screenSaver) {
        pictureChanger_.reset();
        showsCapture_ = true;
        picturesPlaced_ = false;
        loaded.pictures = std::move(screensBeforeShow_);
    }
    screensBeforeShow_.clear();
    showBackgrounds(std::move(loaded.pictures));
}

// Brings the next hand of a folder's pictures in under the waters, once it is due and ready,
// and sets the worker on the one after.
void Show::showNextHand(std::optional<PictureChanger::Hand> hand) {
    if (!hand) {
        return;
    }
    for (size_t i = 0; i < hand->size(); ++i) {
        if (!(*hand)[i].empty()) {
            fadeInPicture(GetDlgItem(effectWindow, int(IDC_WATER + i)), std::move((*hand)[i]));
        }
    }
    pictureChanger_->awaitNextHand(effectWindow, nextHandReadyMessage);
}

// False when music was chosen and could not be started; a screen saver then stays silent.
bool Show::startMusic() {
    const bool screenSaver = setup_.host == ShowHost::screenSaver;
    if (!music_.start(settings_.music, screenSaver)) {
        return screenSaver;
    }
    Sleep(100); // lets the shell start the player before its name is looked up
    music_.notePlayer();
    SetForegroundWindow(effectWindow); // back from a player that activated itself meanwhile
    return true;
}

void Show::start() {
    SetWindowTextA(effectWindow, "Pluvette");
    if (setup_.host == ShowHost::screenSaver) {
        settings_ = loadScreenSaverSettings();
        screenSaverInput_.start();
        ShowCursor(FALSE);
    } else if (std::optional<Settings> read = loadSettings(setup_.settingsFile)) {
        settings_ = std::move(*read);
    } else {
        end(ShowEnd::settingsUnreadable);
        return;
    }
    rainAmount = rainAmountFor(settings_.rain);
    std::srand(GetTickCount());
    // One window over every monitor, with a water of its own on each: the close keys, the
    // keep-on-top timer and a screen saver's input have one window to go to.
    coveredMonitors_ = setup_.monitors.empty() ? showMonitors() : setup_.monitors;
    const RECT desktop = boundsOf(coveredMonitors_);
    SetWindowPos(effectWindow, HWND_TOPMOST, desktop.left, desktop.top,
                 desktop.right - desktop.left, desktop.bottom - desktop.top, SWP_FRAMECHANGED);
    holdCloseKeys(effectWindow); // heard while the pictures load too
    loadBackgrounds();
}

// Puts the waters over the pictures, one for each monitor (or one for all), and starts what
// runs with them; a show without pictures ends.
void Show::showBackgrounds(std::vector<win32::Bitmap> pictures) {
    const std::vector<RECT>& monitors = coveredMonitors_;
    if (phase_ == Phase::ended) {
        return;
    }
    if (pictures.empty()) {
        // A screen saver without even the screen to show has nothing to say either.
        end(setup_.host == ShowHost::screenSaver ? ShowEnd::closed : ShowEnd::pictureUnloadable);
        return;
    }
    const RECT desktop = boundsOf(monitors);
    for (size_t i = 0; i < monitors.size(); ++i) {
        RECT area = monitors[i];
        OffsetRect(&area, -desktop.left, -desktop.top);
        const HBITMAP picture = pictures[std::min(i, pictures.size() - 1)].get();
        showOnMonitor(picture, area, IDC_WATER + static_cast<unsigned>(i),
                      pictureChanger_ != nullptr || picturesPlaced_ ? Placement::centre
                                                                    : settings_.placement);
    }
    if (const std::optional<uint32_t> changeMs = settings_.changeMs) {
        if (pictureChanger_ != nullptr) {
            pictureChanger_->awaitNextHand(effectWindow, nextHandReadyMessage);
            SetTimer(effectWindow, pictureChangeTimerId, *changeMs, nullptr);
        } else if (showsCapture_ && setup_.host == ShowHost::screenSaver) {
            SetTimer(effectWindow, dimTimerId, *changeMs, nullptr);
        }
    }
    lockForeground();
    if (!settings_.music.empty() && !startMusic()) {
        end(ShowEnd::musicUnlaunchable);
    }
    if (phase_ == Phase::ended) {
        return; // ended meanwhile, from a box of the shell's that let messages through
    }
    // Started after the music, so that it cannot pull the show over the shell's and the
    // program's error boxes while they wait for the user.
    SetTimer(effectWindow, keepOnTopTimerId, keepOnTopIntervalMs, nullptr);
    phase_ = Phase::running;
}

// Ends the show once, whatever asks: a close key, a right click, a water window gone, the
// monitors changing, or a start that fails. Tearing the dialog down afterwards destroys the
// waters, whose reports then find the show ended.
void Show::end(ShowEnd why) {
    if (phase_ == Phase::ended) {
        return;
    }
    phase_ = Phase::ended;
    ++endings_;
    releaseCloseKeys(effectWindow); // the foreground lock would outlive the program on Windows
    KillTimer(effectWindow, keepOnTopTimerId);
    KillTimer(effectWindow, pictureChangeTimerId);
    KillTimer(effectWindow, dimTimerId);
    pictureChanger_.reset();
    pictureJobs_.reset(); // a picture still loading is left to finish on its own
    music_.stop();
    if (why == ShowEnd::closed && setup_.returnWindow != nullptr) {
        ShowWindow(setup_.returnWindow, SW_SHOW);
        SetForegroundWindow(setup_.returnWindow);
        UpdateWindow(setup_.returnWindow);
    }
    EndDialog(effectWindow, static_cast<INT_PTR>(why));
}

bool Show::endsOn(UINT message, WPARAM wParam) {
    if (phase_ == Phase::ended) {
        return false;
    }
    const bool ends =
        setup_.host == ShowHost::screenSaver
            ? screenSaverInput_.ends(message)
            : message == WM_RBUTTONUP || (message == WM_KEYDOWN && isCloseKey(wParam));
    if (ends) {
        end(ShowEnd::closed);
    }
    return ends;
}

bool Show::waterInput(HWND, UINT message, WPARAM wParam, LPARAM) {
    return endsOn(message, wParam);
}

void Show::waterGone(HWND) {
    end(ShowEnd::closed); // a water destroyed from outside ends the show
}

INT_PTR Show::handle(UINT message, WPARAM wParam, LPARAM) {
    // A screen saver ends on any input, on the black margin around the picture too.
    if (setup_.host == ShowHost::screenSaver && endsOn(message, wParam)) {
        return TRUE;
    }
    switch (message) {
    case firstPicturesMessage:
        if (pictureJobs_ != nullptr && pictureJobs_->isNewest(wParam) && firstPictures_) {
            takeFirstPictures();
        }
        return TRUE;
    case WM_SETCURSOR:
        // The busy pointer over the black screen from Launch until the water shows (a
        // screen saver's is hidden).
        if (phase_ == Phase::starting && setup_.host == ShowHost::launcher) {
            SetCursor(LoadCursor(nullptr, IDC_WAIT));
            SetWindowLongPtrA(effectWindow, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case nextHandReadyMessage:
        if (pictureChanger_ != nullptr) {
            showNextHand(pictureChanger_->handWhenReady(wParam));
        }
        return TRUE;
    case WM_TIMER:
        if (wParam == pictureChangeTimerId && pictureChanger_ != nullptr) {
            showNextHand(pictureChanger_->handWhenDue());
        }
        if (wParam == dimTimerId) {
            for (size_t i = 0; i < coveredMonitors_.size(); ++i) {
                dimPicture(GetDlgItem(effectWindow, int(IDC_WATER + i)), dimKeep);
            }
        }
        if (wParam == keepOnTopTimerId) {
            SetForegroundWindow(effectWindow);
            SetWindowPos(effectWindow, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        }
        return FALSE;
    case WM_HOTKEY:
        if (isCloseHotKey(wParam)) {
            end(ShowEnd::closed);
        }
        return TRUE;
    case WM_KEYDOWN:
        if (isCloseKey(wParam)) {
            end(ShowEnd::closed);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        // The dialog manager turns Enter and Escape into these before they arrive as keys.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            end(ShowEnd::closed);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED:
        // The water works in the monitors' own pixels and shows no text, so a new scale
        // alone changes nothing. Windows also sends this when the window is first spread
        // over monitors of different scales; it is not moved to the size suggested.
        if (!setup_.monitors.empty() || sameAreas(showMonitors(), coveredMonitors_)) {
            return TRUE;
        }
        [[fallthrough]];
    case WM_DISPLAYCHANGE:
        // The monitors' layout changed under the water: the show ends rather than draw
        // where no screen is.
        end(ShowEnd::closed);
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(BLACK_BRUSH)); // never deleted
    case WM_CLOSE:
        end(ShowEnd::closed);
        return TRUE;
    default:
        return FALSE;
    }
}
