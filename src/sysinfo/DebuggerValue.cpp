// Debugger value text and its ownership test.
#include "sysinfo/DebuggerValue.h"

#include "base/AppPath.h"
#include "base/AsciiText.h"

namespace cvt {
namespace {
constexpr std::string_view kProgramFile = "cvt.exe";
}  // namespace

std::string DebuggerCommand(std::string_view appDir) {
    std::string command = std::string(appDir) + std::string(kProgramFile);
    if (command.find(' ') != std::string::npos) command = '"' + command + '"';
    return command;
}

bool NamesCorvault(std::string_view value) {
    std::string_view path = TrimControls(value);
    if (!path.empty() && path.front() == '"') {
        path.remove_prefix(1);
        const size_t close = path.find('"');
        if (close == std::string_view::npos) return false;
        path = path.substr(0, close);
    }
    return AsciiEqualsIgnoringCase(FileNamePart(path), kProgramFile);
}

RegistrationKey SplitRegistrationKey(std::string_view keyText) {
    while (!keyText.empty() && keyText.front() == '\\') keyText.remove_prefix(1);
    const size_t last = keyText.rfind('\\');
    if (last == std::string_view::npos) return {"", std::string(keyText)};
    return {std::string(keyText.substr(0, last)), std::string(keyText.substr(last + 1))};
}

std::string RegistryWriteFailedMessage(std::string_view valueName) {
    return "'" + std::string(valueName) + "' の設定に失敗しました";
}

std::string RegistryTypeMessage(std::string_view valueName) {
    return "'" + std::string(valueName) + "' のデータ型が不正です";
}

}  // namespace cvt
