#include "platform/WarningBox.h"

#include "core/Utf.h"

#include <cstdio>
#include <mutex>

namespace vindrel::platform {

namespace {

std::mutex handlerMutex;

WarningBoxHandler& CurrentHandler() {
    static WarningBoxHandler handler;
    return handler;
}

} // namespace

void ShowWarningBox(const std::u16string& caption, const std::u16string& text) {
    WarningBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        handler = CurrentHandler();
    }
    if (handler) {
        handler(caption, text);
        return;
    }
    const std::string message = ToUtf8(caption) + ": " + ToUtf8(text) + "\n";
    std::fputs(message.c_str(), stderr);
    std::fflush(stderr);
}

WarningBoxHandler SetWarningBoxHandler(WarningBoxHandler handler) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    WarningBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

} // namespace vindrel::platform

namespace vindrel::platform {

namespace {

std::function<void()>& Releaser() {
    static std::function<void()> releaser;
    return releaser;
}

} // namespace

void ReleaseWarningBoxWaiters() {
    std::function<void()> releaser;
    {
        std::lock_guard<std::mutex> lock(handlerMutex);
        releaser = Releaser();
    }
    if (releaser)
        releaser();
}

void SetWarningBoxReleaser(std::function<void()> releaser) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    Releaser() = std::move(releaser);
}

} // namespace vindrel::platform
