// Headless side of the frame seam: answers come from queues, everything
// shown is remembered for the tests and scripts that ask.
#include <cstdio>
#include <deque>
#include <filesystem>
#include <utility>

#include "platform/headless.h"
#include "platform/shell.h"

namespace {
std::deque<Answer> answers;
std::deque<std::string> chosenPaths;  // empty text: the dialog is cancelled
std::deque<std::function<bool()>> dialogActions;
HeadlessRecord record;
bool processStarts = true;
std::function<void()> pumpHook;
}  // namespace

void QueueAnswer(Answer answer) { answers.push_back(answer); }
void QueueChosenPath(const std::string& path) { chosenPaths.push_back(path); }
void QueueDialogAction(std::function<bool()> action) { dialogActions.push_back(std::move(action)); }
void SetProcessStarts(bool starts) { processStarts = starts; }
void SetPumpHook(std::function<void()> hook) { pumpHook = std::move(hook); }

HeadlessRecord& Headless() { return record; }

void ResetHeadlessShell() {
    answers.clear();
    chosenPaths.clear();
    dialogActions.clear();
    record = HeadlessRecord{};
    processStarts = true;
    pumpHook = nullptr;
}

Answer PlatformAsk(const std::string& text, const std::string& caption, AskButtons buttons) {
    record.questions.push_back(text);
    Answer answer = Answer::kNo;  // nobody there to say yes
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    if (buttons == AskButtons::kYesNo && answer == Answer::kCancel) answer = Answer::kNo;
    return answer;
}

bool PlatformChooseMapFile(bool save, std::string& path) {
    record.fileDialogs.push_back(save ? "save" : "open");
    if (chosenPaths.empty()) return false;
    path = chosenPaths.front();
    chosenPaths.pop_front();
    return !path.empty();
}

bool PlatformChooseWadFile(std::string& path) {
    record.fileDialogs.push_back("wad");
    if (chosenPaths.empty()) return false;
    path = chosenPaths.front();
    chosenPaths.pop_front();
    return !path.empty();
}

void PlatformSetStatusText(int part, const std::string& text) {
    if (part >= 0 && part < 4) record.statusTexts[part] = text;
}

bool PlatformRunProcess(const std::string& executable, const std::string& commandLine, const std::string& directory) {
    record.processes.push_back({executable, commandLine, directory});
    return processStarts;
}

std::string PlatformCurrentDirectory() { return std::filesystem::current_path().string(); }

void PlatformShowHelp(const std::string& path) { record.helpShown.push_back(path); }

bool PlatformRunDialog(const char* name) {
    record.dialogs.push_back(name);
    if (dialogActions.empty()) return false;
    const std::function<bool()> action = std::move(dialogActions.front());
    dialogActions.pop_front();
    return action();
}

void PlatformShowGridMenu() { record.gridMenus++; }

void PlatformCloseMainWindow() { record.closed = true; }

void PlatformPumpMessages() {
    record.pumps++;
    if (pumpHook) pumpHook();
}
