// The build option, play option and game executable dialogs' working copies.
#include "dialogs/option_forms.h"

#include "app/config.h"
#include "base/report.h"
#include "platform/files.h"

const char* const kGameNotSet = "指定されていません";

namespace {

// Why keldra.cfg cannot keep the text as it is, or nothing when it can.
std::optional<std::string> StorageProblem(const std::string& text, std::size_t limit) {
    const std::string stored = Utf8ToCp932(text);
    if (Cp932ToUtf8(stored) != text) return std::string("には keldra.cfg に保存できない文字が含まれています");
    if (stored.size() > limit) {
        return "は " + std::to_string(limit) + " バイトまでにして下さい（全角文字は 2 バイトです）";
    }
    return std::nullopt;
}

std::optional<FieldRefusal> CheckStorable(int control, const char* label, const std::string& text, std::size_t limit) {
    const std::optional<std::string> problem = StorageProblem(text, limit);
    if (!problem) return std::nullopt;
    return FieldRefusal{control, std::string(label) + *problem};
}

std::string FieldText(const std::string& setting) { return setting == kUndesignated ? std::string() : setting; }
std::string SettingText(const std::string& field) { return IsBlankText(field) ? std::string(kUndesignated) : field; }

}  // namespace

bool IsBlankText(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

BuildOptionsForm LoadBuildOptionsForm() { return {buildoption1 != 0, buildoption2 != 0}; }

void ApplyBuildOptionsForm(const BuildOptionsForm& form) {
    buildoption1 = form.computePvs ? 1 : 0;
    buildoption2 = form.writeDebugFile ? 1 : 0;
    SetDebugLogEnabled(form.writeDebugFile);
}

PlayOptionsForm LoadPlayOptionsForm() {
    return {playoption1 != 0, playoption2 != 0, FieldText(playoption3), FieldText(playoption4)};
}

std::optional<FieldRefusal> ApplyPlayOptionsForm(const PlayOptionsForm& form) {
    const std::string files = SettingText(form.files);
    const std::string others = SettingText(form.others);
    if (auto refusal = CheckStorable(kPlayFilesField, "「-file」の欄", files, kPlayOptionBytes)) return refusal;
    if (auto refusal =
            CheckStorable(kPlayOthersField, "「その他のコマンドラインオプション」の欄", others, kPlayOptionBytes))
        return refusal;
    playoption1 = form.noMonsters ? 1 : 0;
    playoption2 = form.noMusic ? 1 : 0;
    playoption3 = files;
    playoption4 = others;
    return std::nullopt;
}

GameExecutableForm LoadGameExecutableForm() { return {gamefile}; }

std::string GameExecutableText(const GameExecutableForm& form) {
    return form.path == kUndesignated ? std::string(kGameNotSet) : form.path;
}

std::optional<FieldRefusal> ApplyGameExecutableForm(const GameExecutableForm& form) {
    if (auto refusal = CheckStorable(kChooseGameButton, "ゲーム実行ファイルのパス", form.path, kGamefileBytes))
        return refusal;
    gamefile = form.path;
    return std::nullopt;
}
