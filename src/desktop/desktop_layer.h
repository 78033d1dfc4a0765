// Where windows go to lie behind the desktop's icons and above its wallpaper. The shell's
// windows are found as they stand, never assumed from the system's version:
//   - the icons' view (SHELLDLL_DefView) and a WorkerW both children of Progman: the windows
//     become layered children of Progman, between the two;
//   - Progman answering message 0x052C with a top-level WorkerW behind the window that holds
//     the icons: the windows become children of that WorkerW;
//   - anything else (another shell, none): top-level windows kept at the bottom of the order.
// Windows are made top-level first and then taken into the shell's window, as the programs
// that draw on the desktop every day do.
#pragma once

#include <windows.h>

#include <vector>

// In the order they are tried: a layout whose windows cannot be made, placed or seen passes
// to the next.
enum class DesktopLayout { besideIcons, workerBehindIcons, bottomWindows };

struct DesktopLayer {
    DesktopLayout layout = DesktopLayout::bottomWindows;
    HWND parent = nullptr; // the window that holds ours; null for top-level windows
    HWND icons = nullptr;  // the icons' view, which stays above ours; may be null
    HWND worker = nullptr; // beside the icons: Progman's WorkerW, which stays below ours
    HWND holder = nullptr; // a WorkerW behind the icons: the top-level window holding them
};

// The message that asks Progman for the WorkerW behind the icons.
inline constexpr UINT progmanSpawnWorker = 0x052C;

// Looks at the shell's windows (asking Progman for its WorkerW where it has none yet) and
// says where ours go, trying the layouts from the one given on.
DesktopLayer findDesktopLayer(DesktopLayout from = DesktopLayout::besideIcons);

// Finds the layer's windows again where the shell has replaced one it keeps beside ours (a
// new WorkerW in Progman); false when the windows that hold ours are gone.
bool refreshLayer(DesktopLayer& layer);

// One of our windows in the layer and the area of the virtual screen it covers.
struct LayerWindow {
    HWND window;
    RECT area;
};

// Takes a hidden top-level window (WS_POPUP) into the layer: a child of its parent (layered
// and fully opaque beside the icons), or left as it is for top-level layouts. False when the
// shell's window does not take it.
bool adoptIntoLayer(const DesktopLayer& layer, HWND window);

// Puts the layer's windows in their places and shows them without activating them: each over
// its area, in the order the layout needs (the icons' view, ours, then the WorkerW beside the
// icons; the WorkerW right behind the icons' holder). False when one cannot be put there.
bool arrangeInLayer(const DesktopLayer& layer, const std::vector<LayerWindow>& windows);

// Whether the windows stand as arrangeInLayer put them, with the shell's around them.
bool arrangementStands(const DesktopLayer& layer, const std::vector<LayerWindow>& windows);

// A rectangle of the virtual screen in the coordinates of the layer's parent (the same for
// top-level windows): a monitor left of or above the primary lies at negative screen
// coordinates but inside the parent.
RECT inLayerCoordinates(const DesktopLayer& layer, RECT screenArea);

// Whether a window holds the desktop's icons' view (Progman, or the WorkerW the shell moves
// them into).
bool holdsIcons(HWND window);

// Whether a window belongs to the desktop: the icons' view and what it holds, Progman or a
// WorkerW. The pointer over one of these is over the desktop.
bool isDesktopWindow(HWND window);
