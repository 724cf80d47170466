#pragma once

#include <windows.h>

#include <string_view>

namespace stratocue::entry {

// The Windows program is a GUI program: a double-click opens no console. Started from a
// console (cmd, PowerShell) it joins that console for as long as it runs, so that the
// headless mode prints there and Ctrl+C reaches it; a stream redirected to a file or pipe
// stays where it was sent. The console's output code page is put back at the end.
class ParentConsole {
public:
    // Without a console to join: none, or one of the program's own (the headless mode
    // shows its lines there and ends on Ctrl+C in it, as a console program would).
    enum class WithoutParent { StayWithout, OpenOwn };

    explicit ParentConsole(WithoutParent withoutParent);
    ParentConsole(const ParentConsole&) = delete;
    ParentConsole& operator=(const ParentConsole&) = delete;
    ParentConsole(ParentConsole&&) = delete;
    ParentConsole& operator=(ParentConsole&&) = delete;
    ~ParentConsole();

    // The console shows UTF-8 (the JSON lines) until the program ends.
    void useUtf8Output();
    // Whether standard error leads anywhere: to the console or to a redirection.
    [[nodiscard]] bool errorsReachSomeone() const noexcept { return errorsReachSomeone_; }

private:
    bool attached_ = false;
    bool errorsReachSomeone_ = false;
    UINT previousOutputCodePage_ = 0;
};

// Whether the process's standard error was given a file, pipe or console by whoever
// started it.
[[nodiscard]] bool standardErrorIsConnected();

// A fatal error on standard error when it leads anywhere, or else in a message box
// titled "Stratocue", so that it never goes unseen.
void reportFatalError(std::string_view text, bool toStandardError);

}  // namespace stratocue::entry
