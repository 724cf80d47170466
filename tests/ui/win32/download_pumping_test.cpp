// While a download waits, the keep-alive hook pumps the thread's messages: timers tick and
// windows answer. A WM_QUIT met there ends the main loop once the download is done.

#include <gtest/gtest.h>

#include <string>

#include "common/ansi_text.h"
#include "tests/support/winsock_http_server.h"
#include "ui/win32/message_pump.h"
#include "ui/win32/message_window.h"
#include "web/http_transfer.h"

namespace stratocue::ui::win32 {
namespace {

using namespace std::chrono_literals;

constexpr int kTicksBeforeTheAnswer = 5;
constexpr int kQuitCode = 3;

TEST(Win32DownloadPumping, TimersTickWhileThePageIsAwaited) {
    tests::Gate gate;
    tests::WinsockHttpServer server([&](const std::string&) {
        gate.waitOpen(20s);
        return tests::HttpAnswer{200, "page", "", false};
    });
    MessagePump pump;
    MessageWindow messages;
    int ticks = 0;
    const UINT_PTR probe = messages.newTimerId();
    // The server answers only after the probe has ticked during the download, and the probe
    // asks the program to end meanwhile.
    messages.startTimer(probe, 1, [&] {
        if (++ticks == kTicksBeforeTheAnswer) {
            PostQuitMessage(kQuitCode);
            gate.open();
        }
    });
    const auto transfer = web::makeWinInetTransfer();
    transfer->setKeepAlive([&] { pump.pumpPending(); });

    EXPECT_EQ(ansiFromBytes(transfer->OpenUrl(server.url("/held"))), "page");
    messages.stopTimer(probe);
    EXPECT_GE(ticks, kTicksBeforeTheAnswer);
    EXPECT_TRUE(pump.quitRequested());
    EXPECT_EQ(pump.run(), kQuitCode);  // returns at once with the code met during the download
    gate.open();
}

}  // namespace
}  // namespace stratocue::ui::win32
