#include "skin/about_panel.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "skin/window_fades.h"
#include "win32/bitmap_size.h"
#include "win32/dpi.h"
#include "win32/handles.h"
#include "win32/shell.h"

namespace {

constexpr UINT_PTR tickerTimerId = 1;
constexpr UINT tickerIntervalMs = 700;
constexpr int fadeAlpha = 220;
constexpr COLORREF tickerColour = RGB(255, 255, 255);

// The scales the artwork is drawn at, in percent, and what the numbers of their pictures add
// to those of the 100 % ones.
struct ArtworkScale {
    int percent;
    int idOffset;
};
constexpr ArtworkScale artworkScales[] = {
    {100, 0}, {125, ABOUT_ART_125}, {150, ABOUT_ART_150}, {200, ABOUT_ART_200}};

// The drawn scale nearest the window's, the larger of two as near: the pictures are shown
// pixel for pixel, never stretched.
const ArtworkScale& artworkScaleFor(int dpi) {
    const int percent = MulDiv(dpi, 100, USER_DEFAULT_SCREEN_DPI);
    const ArtworkScale* nearest = &artworkScales[0];
    for (const ArtworkScale& scale : artworkScales) {
        if (std::abs(scale.percent - percent) <= std::abs(nearest->percent - percent)) {
            nearest = &scale;
        }
    }
    return *nearest;
}

// The ticker's font for the artwork's scale, so that the text keeps its size on the strip.
// Made at the first opening at that scale and kept until the process ends.
HFONT tickerFont(const ArtworkScale& scale) {
    static std::map<int, win32::Font> fonts;
    win32::Font& font = fonts[scale.percent];
    if (!font) {
        font = createPointFont("Arial", 12, FW_BOLD, 0,
                               MulDiv(USER_DEFAULT_SCREEN_DPI, scale.percent, 100));
    }
    return font.get();
}

// The panel's background at a scale: the bitmap resource at 100 %, a PNG picture above.
// Loaded at the first opening at that scale and kept until the process ends. The static
// control that shows it never deletes a bitmap it is given.
HBITMAP backgroundPicture(const ArtworkScale& scale) {
    if (scale.idOffset != 0) {
        const ResourcePicture* picture = sharedPngResource(IDB_ABOUT_BACKGROUND + scale.idOffset);
        return picture != nullptr ? picture->bitmap.get() : nullptr;
    }
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

// Puts a picture in the background control (null takes it out). A control that shows a
// picture with alpha draws a copy of its own, which it hands back when it is given another
// and never deletes itself.
void showBackground(AboutPanel& panel, HWND dialog, HBITMAP picture) {
    const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(
        backgroundControl(dialog), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    const win32::GdiObject<HBITMAP> copy(shown != panel.background ? shown : nullptr);
    panel.background = picture;
}

// The artwork is drawn in pixels for the template's layout with the dialog font's base units
// at 96 pixels per inch (6 by 13 pixels). Another font (Wine's stand-in for Ms Shell Dlg) or
// a higher resolution would spread the controls away from their places on the background,
// so each control's place on the 100 % artwork is worked out from the template once, and
// the controls are put at those places times the scale.
constexpr int artworkBaseX = 6;
constexpr int artworkBaseY = 13;

void recordArtworkPlaces(AboutPanel& panel, HWND dialog) {
    RECT base{0, 0, 4, 8};
    MapDialogRect(dialog, &base); // the template's base units as this system maps them
    panel.places.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        panel.places.push_back({child,
                                {MulDiv(MulDiv(box.left, 4, base.right), artworkBaseX, 4),
                                 MulDiv(MulDiv(box.top, 8, base.bottom), artworkBaseY, 8)}});
    }
}

void attachControls(AboutPanel& panel, HWND dialog, const ArtworkScale& scale) {
    const int at = scale.idOffset;
    initForm(panel.form, dialog);
    addPictureButton(panel.form, panel.closeButton, IDC_ABOUT_CLOSE, IDR_CLOSE + at,
                     IDR_CLOSE_HOVER + at, 0);
    addPictureButton(panel.form, panel.socialButton1, IDC_SOCIAL1, IDR_SOCIAL1 + at,
                     IDR_SOCIAL1_HOVER + at, 0);
    addPictureButton(panel.form, panel.socialButton2, IDC_SOCIAL2, IDR_SOCIAL2 + at,
                     IDR_SOCIAL2_HOVER + at, 0);
    addPictureButton(panel.form, panel.gpButton, IDC_GP, IDR_GP + at, IDR_GP_HOVER + at, 0);
    addPictureButton(panel.form, panel.donateButton, IDC_DONATE, IDR_DONATE + at,
                     IDR_DONATE_HOVER + at, 0);
    addPictureButton(panel.form, panel.visitBanner, IDC_VISIT, IDR_VISIT + at, IDR_VISIT_HOVER + at,
                     0);
    addPictureLabel(panel.form, panel.ticker, IDC_TICKER, IDR_TICKER + at);
    resetControls(panel.form);
    const int origin = MulDiv(10, scale.percent, 100);
    setTextOrigin(panel.ticker, origin, origin);
    panel.ticker.rightToLeft = panel.rightToLeft;
    if (panel.rightToLeft) {
        panel.ticker.textRect.right = panel.ticker.width - origin;
    }
    // Sets the ticker's colour and font, and shows the text it showed, if any; the first
    // advance replaces the placeholder.
    setLabelText(panel.ticker, panel.ticker.text.empty() ? "Testing" : panel.ticker.text,
                 tickerColour, tickerFont(scale));
}

// Draws the panel at the scale for the given pixels per inch: the background and every
// picture drawn for it, each control at its place times the scale. Returns the panel's size.
SIZE layOutForDpi(AboutPanel& panel, HWND dialog, int dpi) {
    const ArtworkScale* scale = &artworkScaleFor(dpi);
    HBITMAP background = backgroundPicture(*scale);
    if (background == nullptr) {
        scale = &artworkScales[0];
        background = backgroundPicture(*scale);
    }
    showBackground(panel, dialog, background);
    for (const auto& [control, place] : panel.places) {
        SetWindowPos(control, nullptr, MulDiv(place.x, scale->percent, 100),
                     MulDiv(place.y, scale->percent, 100), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    attachControls(panel, dialog, *scale);
    return bitmapSize(background);
}

// On the monitor of the given point, with its top-left corner as near the wanted one as
// the monitor's work area allows; that corner first where the panel does not fit.
void placeNear(HWND dialog, POINT monitorPoint, POINT wanted, SIZE panel) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromPoint(monitorPoint, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const LONG left = std::max(area.left, std::min(wanted.x, area.right - panel.cx));
    const LONG top = std::max(area.top, std::min(wanted.y, area.bottom - panel.cy));
    SetWindowPos(dialog, nullptr, left, top, panel.cx, panel.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Centred on the pointer, on its monitor.
void placeAtPointer(HWND dialog, SIZE panel) {
    POINT pointer;
    GetCursorPos(&pointer);
    placeNear(dialog, pointer, {pointer.x - panel.cx / 2, pointer.y - panel.cy / 2}, panel);
}

// Moved to a monitor of another scale: drawn again for it, where the system suggests and
// inside that monitor.
void takeNewScale(AboutPanel& about, HWND dialog, int dpi, const RECT& suggested) {
    const SIZE panel = layOutForDpi(about, dialog, dpi);
    const POINT corner{suggested.left, suggested.top};
    const POINT middle{(suggested.left + suggested.right) / 2,
                       (suggested.top + suggested.bottom) / 2};
    placeNear(dialog, middle, corner, panel);
    InvalidateRect(dialog, nullptr, TRUE);
}

void openLink(const char* address) {
    if (address != nullptr && *address != '\0') {
        openWithShell(address);
    }
}

void onCommand(const AboutPanel& panel, HWND dialog, int controlId) {
    switch (controlId) {
    case IDC_TICKER:
    case IDC_VISIT:
        openLink(panel.links.home);
        break;
    case IDC_DONATE:
        openLink(panel.links.donate);
        break;
    case IDC_SOCIAL1:
        openLink(panel.links.social1);
        break;
    case IDC_SOCIAL2:
        openLink(panel.links.social2);
        break;
    case IDC_GP:
        openLink(panel.links.gp);
        break;
    case IDC_ABOUT_CLOSE:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    default:
        break; // Enter and Escape (IDOK, IDCANCEL) among them: the panel stays open
    }
}

// Lets the platform take the held left button as a press on a caption, so the panel follows
// the pointer until the button is released. Only with the button held: Windows ignores the
// request otherwise, while Wine would start a move that follows the bare pointer. The move is
// measured from the press, which Wine reads from lParam, so the panel keeps its place under
// the pointer.
void dragByBackground(const AboutPanel& panel, HWND dialog, WPARAM buttons) {
    if ((buttons & MK_LBUTTON) != 0) {
        SendMessageA(dialog, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(panel.pressPosition));
    }
}

} // namespace

void advanceTicker(AboutPanel& panel) {
    setLabelText(panel.ticker,
                 panel.tickerIndex == 0 ? panel.headline : otherPrograms[panel.tickerIndex - 1], 0,
                 nullptr);
    panel.tickerIndex = (panel.tickerIndex + 1) % (std::size(otherPrograms) + 1);
}

INT_PTR runAboutPanel(HINSTANCE instance, AboutPanel& panel) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT_PANEL), nullptr, aboutDialogProc,
                           reinterpret_cast<LPARAM>(&panel));
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto& panel = *reinterpret_cast<AboutPanel*>(lParam);
        SetWindowLongPtrA(dialog, GWLP_USERDATA, lParam);
        win32::layOutDialogOnDpiChangeItself(dialog);
        recordArtworkPlaces(panel, dialog);
        placeAtPointer(dialog, layOutForDpi(panel, dialog, win32::dpiOfWindow(dialog)));
        SetTimer(dialog, tickerTimerId, tickerIntervalMs, nullptr);
        advanceTicker(panel);
        fadeIn(dialog, panel.fadeStepMs, fadeAlpha);
        return FALSE; // no control gets the focus
    }
    auto* about = reinterpret_cast<AboutPanel*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
    if (about == nullptr) {
        return FALSE; // before WM_INITDIALOG
    }
    AboutPanel& panel = *about;
    switch (message) {
    case WM_TIMER:
        advanceTicker(panel);
        return FALSE;
    case WM_LBUTTONDOWN:
        panel.pressPosition = GetMessagePos();
        return FALSE;
    case WM_MOUSEMOVE:
        dragByBackground(panel, dialog, wParam);
        resetControls(panel.form);
        return FALSE;
    case WM_COMMAND:
        onCommand(panel, dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        fadeOut(dialog, panel.fadeStepMs, fadeAlpha);
        EndDialog(dialog, 0);
        return TRUE;
    case WM_DPICHANGED:
        takeNewScale(panel, dialog, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return TRUE;
    case WM_DESTROY:
        showBackground(panel, dialog, nullptr);
        return FALSE;
    case WM_ERASEBKGND:
        return TRUE; // the background picture covers the whole panel
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
        return answerCtlColor();
    default:
        return FALSE;
    }
}
