// Lays out the launcher from the program's resources at this process's pixels per inch and
// prints its client size, then every control whose text does not fit in it, that overlaps
// another control or that reaches outside the dialog, a line each; nothing more when all fit.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/launcher_lists.h"
#include "resources/resource_ids.h"
#include "win32/handles.h"

namespace {

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

struct Control {
    HWND window;
    RECT box; // in the dialog's client coordinates
    std::string className;
    std::string text;
};

std::vector<Control> controlsOf(HWND dialog) {
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        Control control{child, {}, std::string(64, '\0'), std::string(256, '\0')};
        GetWindowRect(child, &control.box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&control.box), 2);
        control.className.resize(GetClassNameA(child, control.className.data(), 64));
        control.text.resize(GetWindowTextA(child, control.text.data(), 256));
        controls.push_back(control);
    }
    return controls;
}

// The size of a text in the control's font, within room pixels of the control's width.
bool fitsIn(const Control& control, const char* text, int room) {
    const win32::WindowDc context(control.window);
    const win32::Selection font(
        context.get(), reinterpret_cast<HFONT>(SendMessageA(control.window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(context.get(), text, static_cast<int>(std::strlen(text)), &size);
    return size.cx <= room && size.cy <= control.box.bottom - control.box.top;
}

// Every text the control shows: its own (buttons keep room for their edges), or each entry of
// a drop-down list (the Picture, Rain or Change list) beside its button. Gives the first that does
// not fit, or null.
const char* clippedText(const Control& control) {
    const int width = control.box.right - control.box.left;
    if (_stricmp(control.className.c_str(), "ComboBox") == 0) {
        const int id = GetDlgCtrlID(control.window);
        const int room = width - GetSystemMetrics(SM_CXVSCROLL) - 6;
        const auto clippedEntry = [&](const auto& entries) -> const char* {
            for (const char* entry : entries) {
                if (!fitsIn(control, entry, room)) {
                    return entry;
                }
            }
            return nullptr;
        };
        if (id == IDC_PLACEMENT) {
            return clippedEntry(placementEntries);
        }
        return id == IDC_RAIN ? clippedEntry(rainEntries) : clippedEntry(changeEntries);
    }
    if (control.text.empty() || _stricmp(control.className.c_str(), "Edit") == 0) {
        return nullptr; // a field scrolls what it holds
    }
    const int edges = _stricmp(control.className.c_str(), "Button") == 0 ? 6 : 0;
    return fitsIn(control, control.text.c_str(), width - edges) ? nullptr : control.text.c_str();
}

} // namespace

int main() {
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER),
                                     nullptr, quietDialog, 0);
    if (dialog == nullptr) {
        return 1;
    }
    RECT client;
    GetClientRect(dialog, &client);
    std::printf("%ld %ld\n", client.right, client.bottom);
    const std::vector<Control> controls = controlsOf(dialog);
    for (size_t i = 0; i < controls.size(); ++i) {
        const Control& control = controls[i];
        RECT inside;
        if (const char* clipped = clippedText(control)) {
            std::printf("clipped: %s\n", clipped);
        }
        if (!IntersectRect(&inside, &control.box, &client) || !EqualRect(&inside, &control.box)) {
            std::printf("outside: %d\n", GetDlgCtrlID(control.window));
        }
        for (size_t j = 0; j < i; ++j) {
            if (IntersectRect(&inside, &control.box, &controls[j].box)) {
                std::printf("overlap: %d %d\n", GetDlgCtrlID(control.window),
                            GetDlgCtrlID(controls[j].window));
            }
        }
    }
    DestroyWindow(dialog);
    return 0;
}
