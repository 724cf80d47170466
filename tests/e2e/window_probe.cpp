// window-probe: measures from a second process how quickly the program's main window answers.
// It finds the top-level window whose title starts with "Stratocue 2002" and, every 100 ms,
// sends it WM_NULL with a 10 s time-out, printing one line per probe:
//
//     SECONDS_SINCE_EPOCH ROUND_TRIP_MS CAPTION
//
// (the time the probe was sent; "timeout" after the round trip when no answer came). It ends
// when the window is gone or after --seconds N. With --close it asks the window to close
// (WM_CLOSE, as the close box does) and ends at once.
//
//     window-probe [--seconds N] [--close]

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr std::string_view kTitlePrefix = "Stratocue 2002";
constexpr auto kProbeInterval = std::chrono::milliseconds(100);
constexpr UINT kAnswerTimeoutMilliseconds = 10000;
constexpr int kUsageError = 2;
constexpr int kNoWindow = 1;

struct Options {
    std::optional<std::chrono::seconds> lifetime;
    bool close = false;
};

std::optional<Options> readOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--close") {
            options.close = true;
        } else if (argument == "--seconds" && i + 1 < argc) {
            char* end = nullptr;
            const long seconds = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || seconds <= 0) return std::nullopt;
            options.lifetime = std::chrono::seconds(seconds);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The caption as the window manager holds it: for another process's window this reads the
// stored text and sends nothing, so it cannot wait on a busy window.
std::string captionOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK keepIfMainWindow(HWND window, LPARAM found) {
    if (!captionOf(window).starts_with(kTitlePrefix)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND findMainWindow() {
    HWND found = nullptr;
    EnumWindows(keepIfMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

double secondsSinceEpoch() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(sinceEpoch).count();
}

// One WM_NULL round trip, printed as one line.
void probe(HWND window) {
    const double sentAt = secondsSinceEpoch();
    const auto start = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    const LRESULT answered =
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMilliseconds, &result);
    const std::chrono::duration<double, std::milli> roundTrip = std::chrono::steady_clock::now() - start;
    std::printf("%.3f %.1f %s%s\n", sentAt, roundTrip.count(), answered != 0 ? "" : "timeout ",
                captionOf(window).c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = readOptions(argc, argv);
    if (!options) {
        std::fputs("usage: window-probe [--seconds N] [--close]\n", stderr);
        return kUsageError;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto timeLeft = [&] {
        return !options->lifetime || std::chrono::steady_clock::now() - start < *options->lifetime;
    };

    HWND window = nullptr;
    while (window == nullptr && timeLeft()) {
        window = findMainWindow();
        if (window == nullptr) std::this_thread::sleep_for(kProbeInterval);
    }
    if (window == nullptr) {
        std::fputs("window-probe: no window titled \"Stratocue 2002...\"\n", stderr);
        return kNoWindow;
    }
    if (options->close) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    // Probes start at a steady pace; one that waits long delays only the next.
    auto next = std::chrono::steady_clock::now();
    while (IsWindow(window) && timeLeft()) {
        probe(window);
        next += kProbeInterval;
        const auto now = std::chrono::steady_clock::now();
        if (next < now) next = now;
        std::this_thread::sleep_until(next);
    }
    return 0;
}
