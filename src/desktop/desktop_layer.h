// Where windows go to lie behind the desktop's icons and above its wallpaper. The shell's
// windows are found as they stand, never assumed from the system's version:
//   - the icons' view (SHELLDLL_DefView) and a WorkerW both children of Progman: the windows
//     become layered children of Progman, between the two;
//   - Progman answering message 0x052C with a top-level WorkerW behind the window that holds
//     the icons: the windows become children of that WorkerW;
//   - anything else (another shell, none): top-level windows kept at the bottom of the order.
#pragma once

#include <windows.h>

enum class DesktopLayout { besideIcons, workerBehindIcons, bottomWindows };

struct DesktopLayer {
    DesktopLayout layout = DesktopLayout::bottomWindows;
    HWND parent = nullptr; // the window that holds ours; null for top-level windows
    HWND icons = nullptr;  // the icons' view, which stays above ours; may be null
};

// The message that asks Progman for the WorkerW behind the icons.
inline constexpr UINT progmanSpawnWorker = 0x052C;

// Looks at the shell's windows (asking Progman for its WorkerW where it has none yet) and
// says where ours go.
DesktopLayer findDesktopLayer();

// Whether the layer's windows are still there as they were found.
bool layerStands(const DesktopLayer& layer);

// A rectangle of the virtual screen in the coordinates of the layer's parent (the same for
// top-level windows): a monitor left of or above the primary lies at negative screen
// coordinates but inside the parent.
RECT inLayerCoordinates(const DesktopLayer& layer, RECT screenArea);

// Puts a window made for the layer (hidden, WS_CHILD with WS_EX_LAYERED beside the icons,
// WS_POPUP otherwise) in its place in the order and shows it, without activating it.
void placeInLayer(const DesktopLayer& layer, HWND window, const RECT& area);

// Whether a window belongs to the desktop: the icons' view and what it holds, Progman or a
// WorkerW. The pointer over one of these is over the desktop.
bool isDesktopWindow(HWND window);
