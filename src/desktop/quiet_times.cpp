#include "desktop/quiet_times.h"

#include <wtsapi32.h>

namespace {

// The displays' state (0 off, 1 on, 2 dimmed) and the battery saver's (1 on).
constexpr GUID displayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr GUID powerSavingStatus = {
    0xe00958c0, 0xc213, 0x4ace, {0xac, 0x77, 0xfe, 0xcc, 0xed, 0x2e, 0xee, 0xa5}};

} // namespace

QuietTimes::QuietTimes(HWND window) : window_(window) {
    sessionNotices_ = WTSRegisterSessionNotification(window, NOTIFY_FOR_THIS_SESSION) != FALSE;
    displayNotice_ =
        RegisterPowerSettingNotification(window, &displayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    saverNotice_ =
        RegisterPowerSettingNotification(window, &powerSavingStatus, DEVICE_NOTIFY_WINDOW_HANDLE);
    set(remote, GetSystemMetrics(SM_REMOTESESSION) != 0);
}

QuietTimes::~QuietTimes() {
    if (sessionNotices_) {
        WTSUnRegisterSessionNotification(window_);
    }
    if (displayNotice_ != nullptr) {
        UnregisterPowerSettingNotification(displayNotice_);
    }
    if (saverNotice_ != nullptr) {
        UnregisterPowerSettingNotification(saverNotice_);
    }
}

void QuietTimes::set(Reason reason, bool on) {
    reasons_ = on ? reasons_ | reason : reasons_ & ~unsigned(reason);
}

bool QuietTimes::take(UINT message, WPARAM wParam, LPARAM lParam) {
    const unsigned before = reasons_;
    if (message == WM_WTSSESSION_CHANGE) {
        switch (wParam) {
        case WTS_SESSION_LOCK:
            set(locked, true);
            break;
        case WTS_SESSION_UNLOCK:
            set(locked, false);
            break;
        case WTS_CONSOLE_DISCONNECT:
        case WTS_REMOTE_DISCONNECT:
            set(disconnected, true);
            break;
        case WTS_CONSOLE_CONNECT:
        case WTS_REMOTE_CONNECT:
            set(disconnected, false);
            set(remote, GetSystemMetrics(SM_REMOTESESSION) != 0);
            break;
        default:
            break;
        }
    } else if (message == WM_POWERBROADCAST) {
        if (wParam == PBT_APMSUSPEND) {
            set(asleep, true);
        } else if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            set(asleep, false);
        } else if (wParam == PBT_POWERSETTINGCHANGE && lParam != 0) {
            const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
            DWORD value = 0;
            if (setting->DataLength >= sizeof(value)) {
                CopyMemory(&value, setting->Data, sizeof(value));
                if (IsEqualGUID(setting->PowerSetting, displayState)) {
                    set(displaysOff, value == 0);
                } else if (IsEqualGUID(setting->PowerSetting, powerSavingStatus)) {
                    set(batterySaver, value != 0);
                }
            }
        }
    }
    return reasons_ != before;
}
