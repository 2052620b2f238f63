// Test support of the headless platform: messages are collected instead of
// printed, and a fatal error throws FatalExit instead of ending the process.
#pragma once

#include <string>
#include <vector>

struct FatalExit {
    std::string text;  // the whole text shown, suffix included
};

// Starts collecting; forgets what was collected before.
void StartCapturingMessages();
// Ends collecting; messages go to stderr again and fatal errors end the process.
void StopCapturingMessages();
// The messages shown since collecting started (or since the last call).
std::vector<std::string> TakeCapturedMessages();
// The last title given to the (imaginary) main window.
const std::string& LastWindowTitle();
