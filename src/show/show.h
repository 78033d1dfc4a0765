// One show: a full-screen, always-on-top dialog (IDD_SHOW) over every monitor with the water
// over the background picture, and the music. Launch runs one, and so does the screen saver;
// the show owns all it holds, from its waters to the music player, and ends exactly once.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/music.h"
#include "show/picture_changer.h"
#include "show/screen_saver_input.h"
#include "win32/background_jobs.h"

inline constexpr UINT_PTR keepOnTopTimerId = 101;
inline constexpr UINT keepOnTopIntervalMs = 500;

// How a show ended: what run returns. A show that cannot start ends at once and says why;
// what the user is told is up to the caller.
enum class ShowEnd : INT_PTR {
    closed = 0,
    settingsUnreadable, // config.txt could not be read
    pictureUnloadable,  // the chosen picture could not be loaded
    musicUnlaunchable,  // the chosen music could not be started
    windowUnmade,       // no window for the show (Windows out of resources): nothing shown
};

// Who runs the show. A launched show reads the launcher's settings file, ripples under the
// pointer and ends on a close key or a right click; a screen saver reads its own settings,
// falls back to the screen and silence instead of failing, and ends on any input.
enum class ShowHost { launcher, screenSaver };

// The water's rain for the rain setting.
RainAmount rainAmountFor(Rain rain);

struct ShowSetup {
    ShowHost host = ShowHost::launcher;
    std::string settingsFile;    // read when the show starts (a launched show)
    HWND returnWindow = nullptr; // shown again when the show ends (the launcher), or null
    std::vector<RECT> monitors;  // the areas to cover; empty for every monitor
};

class Show final : public RippleHost {
  public:
    explicit Show(ShowSetup setup);
    ~Show();
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    // Runs the show's dialog until it ends; says how.
    ShowEnd run(HINSTANCE instance);

    // How many times the show has ended: 1 once run returns.
    int endings() const { return endings_; }

    bool waterInput(HWND water, UINT message, WPARAM wParam, LPARAM lParam) override;
    void waterGone(HWND water) override;

    struct FirstPictures;

  private:
    // Starting: the pictures load while the show's window, black, covers the monitors.
    enum class Phase { starting, running, ended };

    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void start();
    void end(ShowEnd why);
    // Input on the show's window or its waters; true when it ended the show.
    bool endsOn(UINT message, WPARAM wParam);
    std::vector<win32::Bitmap> captures() const;
    void loadBackgrounds();
    void takeFirstPictures();
    void showBackgrounds(std::vector<win32::Bitmap> pictures);
    void showOnMonitor(HBITMAP picture, const RECT& area, unsigned controlId, Placement placement);
    void showNextHand(std::optional<PictureChanger::Hand> hand);
    bool startMusic();

    ShowSetup setup_;
    Phase phase_ = Phase::starting;
    int endings_ = 0;
    // The show's dialog, which holds the waters.
    HWND effectWindow = nullptr;
    Settings settings_;
    RainAmount rainAmount = RainAmount::normal;
    ScreenSaverInput screenSaverInput_;
    // The monitors the water was laid out for.
    std::vector<RECT> coveredMonitors_;
    // The pictures of a folder, when bg names one, and where their change stands: the next
    // hand comes in once the change is due and the worker has it ready, whichever is last.
    std::unique_ptr<PictureChanger> pictureChanger_;
    // The job loading the first pictures, and what it leaves; a screen saver's screens as
    // they were before its window covered them, to show when its pictures cannot be.
    std::unique_ptr<win32::BackgroundJobs> pictureJobs_;
    std::shared_ptr<FirstPictures> firstPictures_;
    std::vector<win32::Bitmap> screensBeforeShow_;
    // A screen saver over the captured screen dims it by a quarter every change interval.
    bool showsCapture_ = false;
    // Whether the pictures are laid on canvases of the monitors' sizes already (a folder's,
    // and a large PNG scaled as it was decoded), or are to be placed on each monitor.
    bool picturesPlaced_ = false;
    MusicPlayer music_;
};
