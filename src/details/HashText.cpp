// Hash row texts, the copied text and the look-up address.
#include "details/HashText.h"

#include <algorithm>

namespace cvt {

std::string HashRowText(HashOutcome outcome, int percent, std::string_view hex) {
    switch (outcome) {
        case HashOutcome::Running: return "計算中... " + std::to_string(percent) + "%";
        case HashOutcome::Done: return hex.empty() ? "この環境では計算できません" : std::string(hex);
        case HashOutcome::Missing: return "ファイルが見つかりません";
        case HashOutcome::Unreadable: return "ファイルを読み取れません";
        case HashOutcome::Changed: return "計算中にファイルが変更されました";
        case HashOutcome::Removed: return "計算中にファイルが削除されました";
    }
    return {};
}

std::string HashesClipboardText(const FileHashes& hashes) {
    std::string text;
    const std::pair<const char*, const std::string*> lines[] = {
        {"MD5", &hashes.md5}, {"SHA-1", &hashes.sha1}, {"SHA-256", &hashes.sha256}};
    for (const auto& [name, hex] : lines) {
        if (!hex->empty()) text.append(name).append(": ").append(*hex).append("\r\n");
    }
    return text;
}

std::string VirusTotalUrl(std::string_view sha256) {
    const bool isHash = sha256.size() == 64 && std::all_of(sha256.begin(), sha256.end(), [](char c) {
                            return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
                        });
    return isHash ? "https://www.virustotal.com/gui/file/" + std::string(sha256) : std::string();
}

std::string LookUpQuestion(std::string_view url) {
    return "SHA-256 のハッシュ値を VirusTotal に送り、結果をブラウザで開きますか？\r\n"
           "送るのはハッシュ値だけで、ファイルは送りません。\r\n\r\n" +
           std::string(url);
}

}  // namespace cvt
