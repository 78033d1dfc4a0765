// Lays out the launcher from the program's resources at this process's pixels per inch and
// prints its client size, then every control whose text does not fit in it, that overlaps
// another control or that reaches outside the dialog, a line each; nothing more when all fit.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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

// The text's size in the control's font; buttons keep room for their edges.
bool textFits(const Control& control) {
    if (control.text.empty() || _stricmp(control.className.c_str(), "Edit") == 0) {
        return true; // a field scrolls what it holds
    }
    const win32::WindowDc context(control.window);
    const win32::Selection font(
        context.get(), reinterpret_cast<HFONT>(SendMessageA(control.window, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32A(context.get(), control.text.c_str(),
                          static_cast<int>(control.text.size()), &text);
    const int edges = _stricmp(control.className.c_str(), "Button") == 0 ? 6 : 0;
    return text.cx + edges <= control.box.right - control.box.left &&
           text.cy <= control.box.bottom - control.box.top;
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
        if (!textFits(control)) {
            std::printf("clipped: %s\n", control.text.c_str());
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
