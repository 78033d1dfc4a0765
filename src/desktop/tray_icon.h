// An icon in the taskbar's notification area that reports to a window: its clicks come as
// the message given, with the event in LOWORD(lParam) and the place in wParam (version 4).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
  public:
    TrayIcon(HWND window, UINT message, HICON icon, const wchar_t* tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Puts the icon in the area, again after the taskbar was made anew; false when the
    // taskbar did not take it.
    bool show();

    // Shows a balloon by the icon with the title and the text (cut to what the area takes).
    void tell(const std::wstring& title, const std::wstring& text);

    // The point a message about the icon came with, in screen coordinates.
    static POINT pointOf(WPARAM wParam);

  private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

// The message the taskbar sends every top-level window when it has been made anew.
UINT taskbarCreatedMessage();
