#pragma once

#include <atomic>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <thread>

#include "standins/wx/wx_options.h"
#include "standins/wx/wx_stop_signal.h"
#include "standins/wx/wx_weather_data.h"

namespace stratocue::standins {

// The weather stand-in's HTTP server on 127.0.0.1: answers every GET with answerRequest
// and the configured faults, on a thread of its own.
class WxServer {
public:
    // `requestLog`, when given, receives one line per request; it must outlive the server.
    explicit WxServer(WeatherData data, WxFaults faults = {}, std::ostream* requestLog = nullptr);
    ~WxServer();
    WxServer(const WxServer&) = delete;
    WxServer& operator=(const WxServer&) = delete;

    // Binds 127.0.0.1 on `port` (0 = any free port), starts serving and returns the port.
    // Requests made after the return are answered. Throws std::runtime_error when the port
    // cannot be bound or the server was started before.
    int start(int port);

    // Wakes held answers, stops serving and waits for the serving thread; safe to repeat.
    // A stopped server cannot be started again.
    void stop();

private:
    struct Http;

    void logRequest(const std::string& line);

    const WeatherData data_;
    const WxFaults faults_;
    std::ostream* const requestLog_;
    std::mutex logMutex_;
    StopSignal stopSignal_;
    std::unique_ptr<Http> http_;
    std::atomic<bool> listenEnded_ = false;
    std::thread serving_;
};

}  // namespace stratocue::standins
