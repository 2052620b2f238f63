// Headless messages: stderr, or a list the tests read (see capture.h).
#include <cstdio>
#include <cstdlib>

#include "platform/capture.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {
bool capturing = false;
std::vector<std::string> captured;
std::string windowTitle;
std::string messagePrefix = "Keldra: ";
}  // namespace

void PlatformShowMessage(const std::string& text) {
    if (capturing) {
        captured.push_back(text);
        return;
    }
    std::fprintf(stderr, "%s%s\n", messagePrefix.c_str(), text.c_str());
}

void PlatformExitAfterFatalError() {
    if (capturing) throw FatalExit{captured.empty() ? std::string() : captured.back()};
    std::exit(1);
}

void SetMessagePrefix(const std::string& prefix) { messagePrefix = prefix; }

void PlatformSetWindowTitle(const std::string& text) { windowTitle = text; }

void StartCapturingMessages() {
    capturing = true;
    captured.clear();
}

void StopCapturingMessages() { capturing = false; }

std::vector<std::string> TakeCapturedMessages() {
    std::vector<std::string> result;
    result.swap(captured);
    return result;
}

const std::string& LastWindowTitle() { return windowTitle; }
