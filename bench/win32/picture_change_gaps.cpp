// How late the water's steps come while the pictures of a folder change under it. A 1920 x
// 1080 water steps and rains as the show's does; the pictures of the folder given (a 6000 x
// 4000 JPEG and an 8192 x 8192 PNG, say) are prepared one after the other on the worker and
// faded in. The gaps between steps are measured first without a change, then through the
// changes, and printed as multiples of the step interval.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "ripple/ripple_window.h"
#include "show/picture_changer.h"

namespace {

// Water that takes no input and no activation from the pointer over it.
constexpr RippleOptions quietWater{RainAmount::normal, false, false, nullptr};

constexpr int32_t width = 1920;
constexpr int32_t height = 1080;
constexpr UINT handReadyMessage = WM_APP + 1;
constexpr int changesWanted = 4;

HWND water = nullptr;
PictureChanger* changer = nullptr;
int changesDone = 0;
DWORD lastChangeAt = 0;

LRESULT CALLBACK hostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == handReadyMessage) {
        std::vector<std::vector<uint32_t>> hand =
            changer->handWhenReady(wParam).value_or(PictureChanger::Hand());
        if (!hand.empty() && !hand[0].empty()) {
            if (getenv("NOFADE") == nullptr)
                fadeInPicture(water, std::move(hand[0]));
            ++changesDone;
            lastChangeAt = GetTickCount();
        }
        if (changesDone < changesWanted) {
            changer->awaitNextHand(window, handReadyMessage);
            changer->handWhenDue(); // each hand due as soon as it is ready
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Gaps {
    std::vector<double> ms;

    double longest() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    double percentile(double p) const {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[size_t(p * double(sorted.size() - 1))];
    }
    void print(const char* what) const {
        std::printf("%-28s %5zu steps, gap p50 %.2fx, p99 %.2fx, longest %.2fx the interval\n",
                    what, ms.size(), percentile(0.5) / rippleStepIntervalMs,
                    percentile(0.99) / rippleStepIntervalMs, longest() / rippleStepIntervalMs);
    }
};

// Runs the messages until done says so, measuring the time between the water's steps.
template <typename Done> Gaps runSteps(Done done) {
    Gaps gaps;
    LARGE_INTEGER frequency, last{}, now;
    QueryPerformanceFrequency(&frequency);
    MSG message;
    while (!done() && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.hwnd == water) {
            QueryPerformanceCounter(&now);
            if (last.QuadPart != 0) {
                gaps.ms.push_back(double(now.QuadPart - last.QuadPart) * 1000.0 /
                                  double(frequency.QuadPart));
            }
            last = now;
        }
        DispatchMessageA(&message);
    }
    return gaps;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: picture_change_gaps FOLDER\n");
        return 2;
    }
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    registerRippleClass(instance);
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = hostProc;
    hostClass.hInstance = instance;
    hostClass.lpszClassName = "PictureChangeHost";
    RegisterClassA(&hostClass);
    HWND host = CreateWindowExA(0, "PictureChangeHost", "Pictures changing", WS_POPUP | WS_VISIBLE,
                                0, 0, width, height, nullptr, nullptr, instance, nullptr);
    if (host == nullptr || createRippleSurface(0, 0, width, height, 1, host, instance, nullptr,
                                               quietWater) == nullptr) {
        return 1;
    }
    water = GetDlgItem(host, 1);
    PictureChanger pictures(argv[1], {SIZE{width, height}}, Placement::fill);
    changer = &pictures;

    const DWORD start = GetTickCount();
    runSteps([&] { return GetTickCount() - start > 3000; }).print("rain alone:");
    pictures.awaitNextHand(host, handReadyMessage);
    pictures.handWhenDue(); // each hand due as soon as it is ready
    // Until the last picture has come in and its fade is over.
    const Gaps changing = runSteps(
        [&] { return changesDone == changesWanted && GetTickCount() - lastChangeAt > 1500; });
    changing.print("pictures changing:");
    std::printf("%d pictures came in\n", changesDone);
    DestroyWindow(host);
    return changesDone == changesWanted ? 0 : 1;
}
