// The "Debugger" value that makes Corvault the system's task manager.
#pragma once
#include <string>
#include <string_view>

namespace cvt {

// The command Windows runs instead of taskmgr.exe: the program folder and
// "cvt.exe", in double quotes when the path holds a blank (else "C:\Program
// Files\..." would start "C:\Program.exe").
[[nodiscard]] std::string DebuggerCommand(std::string_view appDir);

// Whether a stored value names a program file called cvt.exe (quoted or not,
// any folder, letter case ignored): only such a value is ours to delete.
[[nodiscard]] bool NamesCorvault(std::string_view value);

// The registration key's text (a leading backslash allowed) as the key that
// holds every image's options and the image the registration is for.
struct RegistrationKey {
    std::string optionsKey;
    std::string image;
};
[[nodiscard]] RegistrationKey SplitRegistrationKey(std::string_view keyText);

// "'Debugger' の設定に失敗しました" and "'Debugger' のデータ型が不正です".
[[nodiscard]] std::string RegistryWriteFailedMessage(std::string_view valueName);
[[nodiscard]] std::string RegistryTypeMessage(std::string_view valueName);

}  // namespace cvt
