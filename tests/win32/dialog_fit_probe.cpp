// Lays out the launcher from the program's resources at this process's pixels per inch, in
// every language the program speaks and in the lengthened pseudo language, and prints for
// each its tag and client size, then every control whose text does not fit in it, that
// overlaps another control or that reaches outside the dialog, and a caption cut short, a
// line each: "tag clipped: text", "tag outside: id", "tag overlap: id id", "tag caption".
// Nothing more when all fit.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/launcher_dialog.h"
#include "app/launcher_layout.h"
#include "language/program_texts.h"
#include "resources/resource_ids.h"
#include "resources/text_ids.h"
#include "win32/handles.h"
#include "win32/wide.h"

namespace {

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

std::wstring textOf(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

struct Control {
    HWND window;
    RECT box; // in the dialog's client coordinates, left to right even when mirrored
    std::wstring className;
    std::wstring text;
};

std::vector<Control> controlsOf(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        Control control{child, {}, std::wstring(64, L'\0'), textOf(child)};
        GetWindowRect(child, &control.box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.box), 2);
        if (control.box.left > control.box.right) {
            std::swap(control.box.left, control.box.right); // mapped into a mirrored dialog
        }
        control.className.resize(size_t(GetClassNameW(child, control.className.data(), 64)));
        controls.push_back(control);
    }
    return controls;
}

// Whether a text fits in the control's font within room pixels of its width and its height.
bool fitsIn(HWND window, const std::wstring& text, int room, int height) {
    const win32::WindowDc context(window);
    const win32::Selection font(context.get(),
                                reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(context.get(), text.c_str(), int(text.size()), &size);
    return size.cx <= room && size.cy <= height;
}

// Every text the control shows: its own (buttons keep room for their edges), or each entry of
// a drop-down list beside its button. Gives the first that does not fit, or nothing.
std::wstring clippedText(const Control& control) {
    const int width = control.box.right - control.box.left;
    const int height = control.box.bottom - control.box.top;
    if (_wcsicmp(control.className.c_str(), L"ComboBox") == 0) {
        const int room = width - GetSystemMetrics(SM_CXVSCROLL) - 6;
        COMBOBOXINFO info{sizeof(info)};
        GetComboBoxInfo(control.window, &info);
        const auto count = SendMessageW(control.window, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring entry(
                size_t(SendMessageW(control.window, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
            entry.resize(size_t(
                SendMessageW(control.window, CB_GETLBTEXT, WPARAM(i), LPARAM(entry.data()))));
            if (!fitsIn(control.window, entry, room, info.rcItem.bottom - info.rcItem.top + 2)) {
                return entry;
            }
        }
        return {};
    }
    if (control.text.empty() || _wcsicmp(control.className.c_str(), L"Edit") == 0) {
        return {}; // a field scrolls what it holds
    }
    const int edges = _wcsicmp(control.className.c_str(), L"Button") == 0 ? 6 : 0;
    return fitsIn(control.window, control.text, width - edges, height) ? std::wstring()
                                                                       : control.text;
}

// Whether the caption fits in the title bar beside the close button.
bool captionFits(HWND dialog) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    const win32::Font font(CreateFontIndirectW(&metrics.lfCaptionFont));
    const win32::WindowDc context(dialog);
    const win32::Selection selected(context.get(), font.get());
    const std::wstring caption = textOf(dialog);
    SIZE size{};
    GetTextExtentPoint32W(context.get(), caption.c_str(), int(caption.size()), &size);
    RECT window;
    GetWindowRect(dialog, &window);
    return size.cx + 2 * GetSystemMetrics(SM_CXSIZE) + 16 <= window.right - window.left;
}

void probe(const Language& language, LauncherHost host) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const ProgramTexts texts(instance, language);
    const std::vector<BYTE> layout = launcherTemplate(instance, texts.rightToLeft());
    HWND dialog = CreateDialogIndirectParamW(
        instance, reinterpret_cast<const DLGTEMPLATE*>(layout.data()), nullptr, quietDialog, 0);
    if (dialog == nullptr) {
        std::printf("%s none\n", language.tag.data());
        return;
    }
    showLauncherTexts(dialog, texts, host);
    // The longest entry the Change list can have: a hand-written number of minutes.
    SendDlgItemMessageW(dialog, IDC_CHANGE, CB_ADDSTRING, 0,
                        LPARAM(texts.format(IDS_CHANGE_OWN, {L"0.25"}).c_str()));
    layOutLauncher(dialog);
    const std::string tag(language.tag);
    RECT client;
    GetClientRect(dialog, &client);
    std::printf("%s %ld %ld\n", tag.c_str(), client.right, client.bottom);
    if (!captionFits(dialog)) {
        std::printf("%s caption\n", tag.c_str());
    }
    const std::vector<Control> controls = controlsOf(dialog);
    for (size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        RECT inside;
        if (const std::wstring clipped = clippedText(control); !clipped.empty()) {
            std::printf("%s clipped: %s\n", tag.c_str(), win32::narrow(clipped).c_str());
        }
        if (!IntersectRect(&inside, &control.box, &client) || !EqualRect(&inside, &control.box)) {
            std::printf("%s outside: %d\n", tag.c_str(), GetDlgCtrlID(control.window));
        }
        for (size_t j = 0; j < i; ++j) {
            if (IntersectRect(&inside, &control.box, &controls[j].box)) {
                std::printf("%s overlap: %d %d\n", tag.c_str(), GetDlgCtrlID(control.window),
                            GetDlgCtrlID(controls[j].window));
            }
        }
    }
    DestroyWindow(dialog);
}

} // namespace

int main() {
    for (const Language& language : languages) {
        probe(language, LauncherHost::program);
    }
    probe(pseudoLanguage, LauncherHost::screenSaverSettings);
    return 0;
}
