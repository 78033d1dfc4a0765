#include "app/launcher_layout.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "resources/resource_ids.h"
#include "win32/handles.h"

namespace {

// Dialog units, as the template gives them.
constexpr int margin = 12;      // left of the labels
constexpr int labelGap = 7;     // between the labels and the fields
constexpr int fieldsX = 84;     // the fields' left edge, at least
constexpr int fieldWidth = 100; // the music field's and the lists', at least
constexpr int smallButton = 14; // "...", the folder and "D" buttons: square, "D" at least
constexpr int rowHeight = 14;   // a field's or small button's height
constexpr int labelHeight = 8;  // a label's, at least
constexpr int defaultsX = 21;   // from the fields' right edge to the "D" buttons
constexpr int dialogMargin = 5; // right of the controls
constexpr int buttonsX = 8;     // left of the row of buttons
constexpr int buttonGap = 5;
constexpr int buttonsY = 119;
constexpr int buttonHeight = 20;
constexpr int buttonPadding = 12; // room for a button's edges round its text
constexpr int dialogHeight = 149;

struct Row {
    int label;
    int field;
    int y;
    int listHeight; // a list's drop-down height; 0 for a field
};
constexpr Row rows[] = {{IDC_IMAGE_LABEL, IDC_IMAGE_FIELD, 10, 0},
                        {IDC_MUSIC_LABEL, IDC_MUSIC_FIELD, 31, 0},
                        {IDC_PICTURE_LABEL, IDC_PLACEMENT, 52, 70},
                        {IDC_RAIN_LABEL, IDC_RAIN, 73, 70},
                        {IDC_CHANGE_LABEL, IDC_CHANGE, 94, 80}};

struct Button {
    int id;
    int width; // at least
};
constexpr Button buttons[] = {
    {IDC_LAUNCH, 48}, {IDC_WALLPAPER, 48}, {IDC_ABOUT, 48}, {IDC_MORE_APPS, 52}};

// Measures texts in the dialog's font, and turns dialog units into pixels.
class Measure {
  public:
    explicit Measure(HWND dialog)
        : dialog_(dialog), dc_(dialog),
          font_(dc_.get(), reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))) {}

    int x(int units) const { return scaled(units, true); }
    int y(int units) const { return scaled(units, false); }

    SIZE text(const std::wstring& text) const {
        SIZE size{};
        GetTextExtentPoint32W(dc_.get(), text.c_str(), int(text.size()), &size);
        return size;
    }
    SIZE textOf(int id) const {
        const HWND control = GetDlgItem(dialog_, id);
        std::wstring text(size_t(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(size_t(GetWindowTextW(control, text.data(), int(text.size()))));
        return this->text(text);
    }
    // The widest entry of a drop-down list.
    int widestEntry(int id) const {
        const HWND list = GetDlgItem(dialog_, id);
        int widest = 0;
        const auto count = SendMessageW(list, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring entry(size_t(SendMessageW(list, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1,
                               L'\0');
            entry.resize(size_t(SendMessageW(list, CB_GETLBTEXT, WPARAM(i), LPARAM(entry.data()))));
            widest = std::max(widest, int(text(entry).cx));
        }
        return widest;
    }

  private:
    int scaled(int units, bool across) const {
        RECT box{0, 0, units, units};
        MapDialogRect(dialog_, &box);
        return across ? box.right : box.bottom;
    }

    HWND dialog_;
    win32::WindowDc dc_;
    win32::Selection font_;
};

void place(HWND dialog, int id, int x, int y, int width, int height) {
    SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void layOutLauncher(HWND dialog) {
    const Measure measure(dialog);
    int labelsWidth = 0;
    int labelsHeight = measure.y(labelHeight);
    for (const Row& row : rows) {
        const SIZE size = measure.textOf(row.label);
        labelsWidth = std::max(labelsWidth, int(size.cx));
        labelsHeight = std::max(labelsHeight, int(size.cy));
    }
    const int left = measure.x(margin);
    const int fields = std::max(measure.x(fieldsX), left + labelsWidth + measure.x(labelGap));
    labelsWidth = fields - measure.x(labelGap) - left;
    int listsWidth = measure.x(fieldWidth);
    for (const Row& row : rows) {
        if (row.listHeight != 0) {
            listsWidth =
                std::max(listsWidth, measure.widestEntry(row.field) +
                                         GetSystemMetrics(SM_CXVSCROLL) + measure.x(buttonPadding));
        }
    }
    // Whatever the lists hold, the launcher stays within its monitor's work area.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) {
        listsWidth = std::min(listsWidth, int(monitor.rcWork.right - monitor.rcWork.left) / 2);
    }

    // The row of buttons, each as wide as its text needs, spread to the rows' width.
    int buttonWidths[std::size(buttons)];
    int buttonsWidth = measure.x(buttonGap) * int(std::size(buttons) - 1);
    for (size_t i = 0; i < std::size(buttons); ++i) {
        buttonWidths[i] =
            std::max(measure.x(buttons[i].width),
                     int(measure.textOf(buttons[i].id).cx) + measure.x(buttonPadding));
        buttonsWidth += buttonWidths[i];
    }
    const int square = measure.x(smallButton);
    const int defaultsWidth = std::max(square, int(std::max(measure.textOf(IDC_IMAGE_DEFAULT).cx,
                                                            measure.textOf(IDC_MUSIC_DEFAULT).cx)) +
                                                   measure.x(buttonPadding) / 2);
    const int buttonsLeft = measure.x(buttonsX);
    const int rowsRight = fields + listsWidth + measure.x(defaultsX) + defaultsWidth;
    const int right = std::max(rowsRight, buttonsLeft + buttonsWidth);
    const int fieldsWidth = listsWidth + (right - rowsRight);
    for (size_t i = 0, extra = size_t(right - buttonsLeft - buttonsWidth); i < std::size(buttons);
         ++i) {
        buttonWidths[i] += int(extra / std::size(buttons) + (i < extra % std::size(buttons)));
    }

    for (const Row& row : rows) {
        const int y = measure.y(row.y);
        const int height = measure.y(rowHeight);
        place(dialog, row.label, left,
              y + measure.y(2) - (labelsHeight - measure.y(labelHeight)) / 2, labelsWidth,
              labelsHeight);
        const int width = row.field == IDC_IMAGE_FIELD ? fieldsWidth - measure.x(17) : fieldsWidth;
        place(dialog, row.field, fields, y, width,
              row.listHeight != 0 ? measure.y(row.listHeight) : height);
    }
    const int column = fields + fieldsWidth;
    const int imageY = measure.y(rows[0].y);
    const int musicY = measure.y(rows[1].y);
    place(dialog, IDC_BROWSE_IMAGE, column - square, imageY, square, square);
    place(dialog, IDC_BROWSE_FOLDER, column + measure.x(4), imageY, square, square);
    place(dialog, IDC_IMAGE_DEFAULT, column + measure.x(defaultsX), imageY, defaultsWidth, square);
    place(dialog, IDC_BROWSE_MUSIC, column + measure.x(4), musicY, square, square);
    place(dialog, IDC_MUSIC_DEFAULT, column + measure.x(defaultsX), musicY, defaultsWidth, square);
    for (size_t i = 0, x = size_t(buttonsLeft); i < std::size(buttons); ++i) {
        place(dialog, buttons[i].id, int(x), measure.y(buttonsY), buttonWidths[i],
              measure.y(buttonHeight));
        x += size_t(buttonWidths[i] + measure.x(buttonGap));
    }

    // The dialog round them, about its old centre.
    RECT window;
    RECT client;
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const int width = right + measure.x(dialogMargin) + (window.right - window.left) - client.right;
    const int height = measure.y(dialogHeight) + (window.bottom - window.top) - client.bottom;
    SetWindowPos(dialog, nullptr, (window.left + window.right - width) / 2,
                 (window.top + window.bottom - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
