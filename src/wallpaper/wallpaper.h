// The water on the desktop: behind the icons on every monitor, for as long as the user keeps
// it, with an icon in the notification area to pause it, change its settings or stop it. It
// shows the launcher's choices (the desktop's own wallpaper where the screen is chosen) and
// costs nothing while nobody can see it: a monitor a window hides stops its water, and while
// every monitor is hidden, the session is locked or the displays are off, nothing runs at all.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop_layer.h"
#include "desktop/quiet_times.h"
#include "desktop/tray_icon.h"
#include "desktop/window_events.h"
#include "ripple/ripple_window.h"
#include "settings/program_settings.h"
#include "show/picture_changer.h"
#include "wallpaper/wallpaper_pictures.h"
#include "wallpaper/water_seen.h"
#include "win32/background_jobs.h"
#include "win32/file_watch.h"
#include "win32/handles.h"

// The class of the wallpaper's hidden window, by which another start or an installer finds it
// (WM_CLOSE stops it).
inline constexpr const wchar_t* wallpaperWindowClass = L"PluvetteWallpaper";
// Posted to that window: open the settings, as a second start does.
inline constexpr UINT wallpaperOpenSettingsMessage = WM_APP + 20;
// WM_COPYDATA with this number carries a settings file (UTF-8) for the wallpaper to show.
inline constexpr ULONG_PTR wallpaperSettingsFileData = 0x504C5657;

// The notification area menu's entries, in the program's language ("&" marks a mnemonic).
struct WallpaperMenuTexts {
    std::wstring pause = L"&Pause";
    std::wstring resume = L"&Resume";
    std::wstring settings = L"&Settings...";
    std::wstring startWithWindows = L"Start with &Windows";
    std::wstring stop = L"S&top";
    std::wstring tryAgain = L"Try &again";
    std::wstring unseen;      // the icon's balloon when no layout shows the water
    bool rightToLeft = false; // the menu opens mirrored
};

struct WallpaperSetup {
    std::string settingsFile; // config.txt, a full path
    WallpaperMenuTexts menuTexts;
    // The command the Run key holds to start the water again over a settings file.
    std::function<std::string(const std::string& settingsFile)> startCommand;
    // Opens the launcher over a settings file in a process of its own; may be empty.
    std::function<void(const std::string& settingsFile)> openSettings;
};

class Wallpaper final : public RippleHost {
  public:
    explicit Wallpaper(WallpaperSetup setup);
    ~Wallpaper();
    Wallpaper(const Wallpaper&) = delete;
    Wallpaper& operator=(const Wallpaper&) = delete;

    // Runs until stopped, then leaves the desktop its own wallpaper; the process's exit code.
    int run(HINSTANCE instance);

    bool waterInput(HWND water, UINT message, WPARAM wParam, LPARAM lParam) override;
    void waterGone(HWND water) override;
    void waterStepping(HWND water) override;

  private:
    struct MonitorWater {
        RECT area; // on the virtual screen
        HWND water = nullptr;
        bool covered = false;
    };

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void build();
    void buildFrom(DesktopLayout from);
    void lookAtScreen();
    void takeLook();
    void sayUnseen();
    bool makeWaters(const std::vector<SIZE>& sizes,
                    const std::vector<std::vector<uint32_t>>& shown);
    std::vector<LayerWindow> layerWindows() const;
    void keepArrangement();
    void tearDown();
    void readSettings();
    void takeSettings();
    void makePictures();
    void takePictures();
    void rebuildSoon();
    void arrangeSoon();
    void checkCover();
    void applyPauses();
    void pointerInput(USHORT buttons);
    void followPointer(const MonitorWater& water);
    void showNextHand(std::optional<PictureChanger::Hand> hand);
    void showMenu(POINT at);
    void openSettings();
    void stop();

    WallpaperSetup setup_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    Settings settings_;
    bool settingsKnown_ = false; // read once at least
    std::unique_ptr<win32::BackgroundJobs> settingsJobs_;
    std::shared_ptr<SettingsRead> settingsMade_;
    std::unique_ptr<win32::BackgroundJobs> pictureJobs_;
    std::shared_ptr<WallpaperPictures> picturesMade_;
    std::unique_ptr<win32::BackgroundJobs> lookJobs_;
    std::shared_ptr<WaterSeen> lookedAt_;      // what the newest look at the screen found
    WPARAM lookJob_ = 0;                       // the look at the waters there are now, or 0
    std::vector<RECT> picturesFor_;            // the monitors the pictures being made are for
    std::vector<std::vector<uint32_t>> shown_; // each monitor's picture, as the waters show it
    DesktopLayer layer_;
    std::vector<RECT> monitors_; // on the virtual screen, the primary first
    std::vector<MonitorWater> waters_;
    bool tearingDown_ = false;
    bool stopped_ = false;
    bool userPaused_ = false;
    bool holding_ = false;      // held still until the screen has been looked at
    bool unseen_ = false;       // no layout shows the water: nothing runs, the icon says so
    bool shellDesktop_ = false; // the shell's desktop windows are there
    bool coverTimerRuns_ = false;
    bool changeTimerRuns_ = false;  // the next picture of a folder
    bool windowEventsSeen_ = false; // the shell has told of another window's change
    bool shellChanged_ = false;     // the shell's own windows changed since the last look
    std::unique_ptr<PictureChanger> changer_;
    win32::Icon trayPicture_; // outlives the tray icon that shows it
    std::unique_ptr<TrayIcon> tray_;
    std::unique_ptr<QuietTimes> quiet_;
    std::unique_ptr<win32::FileWatch> settingsWatch_;
    std::unique_ptr<WindowEvents> windowEvents_;
    POINT lastPointer_{-1, -1}; // where the pointer was at the last step of any water
    bool primaryWasDown_ = false;
    bool pressSeen_ = false; // the primary button went down over a water since its last step
};
