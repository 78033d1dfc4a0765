#include "desktop/tray_icon.h"

#include <windowsx.h>
#include <shellapi.h>

#include <cwchar>
#include <iterator>

TrayIcon::TrayIcon(HWND window, UINT message, HICON icon, const wchar_t* tip) {
    data_.cbSize = sizeof(data_);
    data_.hWnd = window;
    data_.uID = 1;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    data_.uCallbackMessage = message;
    data_.hIcon = icon;
    std::wcsncpy(data_.szTip, tip, std::size(data_.szTip) - 1);
}

TrayIcon::~TrayIcon() {
    if (shown_) {
        Shell_NotifyIconW(NIM_DELETE, &data_);
    }
}

bool TrayIcon::show() {
    // After a new taskbar the old icon is gone; adding fails only when it is still there.
    Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    if (shown_) {
        data_.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconW(NIM_SETVERSION, &data_);
    }
    return shown_;
}

void TrayIcon::tell(const std::wstring& title, const std::wstring& text) {
    NOTIFYICONDATAW balloon = data_;
    balloon.uFlags = NIF_INFO;
    balloon.dwInfoFlags = NIIF_INFO;
    std::wcsncpy(balloon.szInfoTitle, title.c_str(), std::size(balloon.szInfoTitle) - 1);
    std::wcsncpy(balloon.szInfo, text.c_str(), std::size(balloon.szInfo) - 1);
    Shell_NotifyIconW(NIM_MODIFY, &balloon);
}

POINT TrayIcon::pointOf(WPARAM wParam) {
    return {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
}

UINT taskbarCreatedMessage() {
    return RegisterWindowMessageW(L"TaskbarCreated");
}
