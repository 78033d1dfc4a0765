#include "skin/about_panel.h"

#include <algorithm>

#include "skin/window_fades.h"
#include "win32/handles.h"
#include "win32/shell.h"

AboutPanel aboutPanel;
int aboutFadeStepMs = 15;
std::vector<std::string> tickerTexts;
uint32_t tickerIndex = 0;

namespace {

constexpr UINT_PTR tickerTimerId = 1;
constexpr UINT tickerIntervalMs = 700;
constexpr int fadeAlpha = 220;
constexpr COLORREF tickerColour = RGB(255, 255, 255);

// Made at the first opening and kept until the process ends.
HFONT tickerFont() {
    static const win32::Font font = createPointFont("Arial", 12, FW_BOLD, 0);
    return font.get();
}

// The panel's background, loaded at the first opening and kept until the process ends. The
// static control that shows it never deletes a bitmap it is given.
HBITMAP backgroundPicture() {
    static const HBITMAP picture = static_cast<HBITMAP>(LoadImageA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT_BACKGROUND), IMAGE_BITMAP, 0, 0, 0));
    return picture;
}

HWND backgroundControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == IDC_STATIC) {
            return child;
        }
    }
    return nullptr;
}

// Shows the background; the control takes the picture's size.
void showBackground(HWND dialog) {
    SendMessageA(backgroundControl(dialog), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(backgroundPicture()));
}

// Takes the background out of its control as the panel ends. A control that shows a picture
// with alpha draws a copy of its own, which it hands back here and never deletes itself.
void takeBackBackground(HWND dialog) {
    const auto shown = reinterpret_cast<HBITMAP>(
        SendMessageA(backgroundControl(dialog), STM_SETIMAGE, IMAGE_BITMAP, 0));
    const win32::GdiObject<HBITMAP> copy(shown != backgroundPicture() ? shown : nullptr);
}

// The artwork is drawn in pixels for the template's layout with the dialog font's base units
// at 96 pixels per inch (6 by 13 pixels). Another font (Wine's stand-in for Ms Shell Dlg) or
// a higher resolution would spread the controls away from their places on the background and
// leave part of the panel unpainted, so the controls are put back at the artwork's pixels and
// the panel takes the background picture's size, centred on the pointer.
constexpr int artworkBaseX = 6;
constexpr int artworkBaseY = 13;

void layOutAtArtworkScale(HWND dialog) {
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base); // the template's base units as this system maps them
    RECT own;
    GetWindowRect(dialog, &own);
    SIZE panel{own.right - own.left, own.bottom - own.top}; // without a background picture
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        const int x = MulDiv(MulDiv(box.left, 4, base.right), artworkBaseX, 4);
        const int y = MulDiv(MulDiv(box.top, 8, base.bottom), artworkBaseY, 8);
        SetWindowPos(child, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (GetDlgCtrlID(child) == IDC_STATIC && box.right > box.left) {
            panel = {box.right - box.left, box.bottom - box.top};
        }
    }
    POINT pointer;
    GetCursorPos(&pointer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    // On the monitor where it fits; its top-left corner first where it does not.
    const LONG left =
        std::max(area.left, std::min(pointer.x - panel.cx / 2, area.right - panel.cx));
    const LONG top = std::max(area.top, std::min(pointer.y - panel.cy / 2, area.bottom - panel.cy));
    SetWindowPos(dialog, nullptr, left, top, panel.cx, panel.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void attachControls(HWND dialog) {
    AboutPanel& panel = aboutPanel;
    initForm(panel.form, dialog);
    addPictureButton(panel.form, panel.closeButton, IDC_ABOUT_CLOSE, IDR_CLOSE, IDR_CLOSE_HOVER, 0);
    addPictureButton(panel.form, panel.socialButton1, IDC_SOCIAL1, IDR_SOCIAL1, IDR_SOCIAL1_HOVER,
                     0);
    addPictureButton(panel.form, panel.socialButton2, IDC_SOCIAL2, IDR_SOCIAL2, IDR_SOCIAL2_HOVER,
                     0);
    addPictureButton(panel.form, panel.gpButton, IDC_GP, IDR_GP, IDR_GP_HOVER, 0);
    addPictureButton(panel.form, panel.donateButton, IDC_DONATE, IDR_DONATE, IDR_DONATE_HOVER, 0);
    addPictureButton(panel.form, panel.visitBanner, IDC_VISIT, IDR_VISIT, IDR_VISIT_HOVER, 0);
    addPictureLabel(panel.form, panel.ticker, IDC_TICKER, IDR_TICKER);
    resetControls(panel.form);
    setTextOrigin(panel.ticker, 10, 10);
    // A placeholder that sets the ticker's colour and font; the first advance replaces it.
    setLabelText(panel.ticker, "Testing", tickerColour, tickerFont());
}

void openLink(const std::string& address) {
    if (!address.empty()) {
        openWithShell(address);
    }
}

void onCommand(HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_TICKER:
    case IDC_VISIT:
        openLink(aboutPanel.links.home);
        break;
    case IDC_DONATE:
        openLink(aboutPanel.links.donate);
        break;
    case IDC_SOCIAL1:
        openLink(aboutPanel.links.social1);
        break;
    case IDC_SOCIAL2:
        openLink(aboutPanel.links.social2);
        break;
    case IDC_GP:
        openLink(aboutPanel.links.gp);
        break;
    case IDC_ABOUT_CLOSE:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    default:
        break; // Enter and Escape (IDOK, IDCANCEL) among them: the panel stays open
    }
}

// Where the left button went down on the bare panel, in screen pixels, packed as a message
// position.
DWORD pressPosition = 0;

// Lets the platform take the held left button as a press on a caption, so the panel follows
// the pointer until the button is released. Only with the button held: Windows ignores the
// request otherwise, while Wine would start a move that follows the bare pointer. The move is
// measured from the press, which Wine reads from lParam, so the panel keeps its place under
// the pointer.
void dragByBackground(HWND dialog, WPARAM buttons) {
    if ((buttons & MK_LBUTTON) != 0) {
        SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(pressPosition));
    }
}

} // namespace

void fillTickerTexts() {
    // The list holds each text once, so reopening the panel does not grow it; the cycle
    // shown is the same as with the texts appended at every opening.
    if (!tickerTexts.empty()) {
        return;
    }
    tickerTexts = {"More Free Programs !", "Snowdrift", "Lumen Clock", "Tidewatch", "Leafall"};
}

void advanceTicker() {
    const std::string text = tickerTexts[tickerIndex];
    setHoverText(aboutPanel.ticker, &aboutPanel.ticker, text);
    applyHoverText(aboutPanel.ticker);
    if (tickerIndex < tickerTexts.size() - 1) {
        ++tickerIndex;
    } else {
        tickerIndex = 0;
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        aboutPanel.links =
            lParam != 0 ? *reinterpret_cast<const AboutLinks*>(lParam) : AboutLinks{};
        showBackground(dialog);
        layOutAtArtworkScale(dialog);
        attachControls(dialog);
        SetTimer(dialog, tickerTimerId, tickerIntervalMs, nullptr);
        fillTickerTexts();
        advanceTicker();
        fadeIn(dialog, aboutFadeStepMs, fadeAlpha);
        return FALSE; // no control gets the focus
    case WM_TIMER:
        advanceTicker();
        return FALSE;
    case WM_LBUTTONDOWN:
        pressPosition = GetMessagePos();
        return FALSE;
    case WM_MOUSEMOVE:
        dragByBackground(dialog, wParam);
        resetControls(aboutPanel.form);
        return FALSE;
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        fadeOut(dialog, aboutFadeStepMs, fadeAlpha);
        EndDialog(dialog, 0);
        return TRUE;
    case WM_DESTROY:
        takeBackBackground(dialog);
        return FALSE;
    case WM_ERASEBKGND:
        return TRUE; // the background picture covers the whole panel
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return answerCtlColor(aboutPanel.form, reinterpret_cast<HWND>(lParam),
                              reinterpret_cast<HDC>(wParam));
    default:
        return FALSE;
    }
}
