// What the detail window's hash rows and hash commands show and hand on.
#pragma once
#include <string>
#include <string_view>

namespace cvt {

// Where hashing of one file stands; every outcome but Running is final.
enum class HashOutcome { Running, Done, Missing, Unreadable, Changed, Removed };

// Lower-case hexadecimal digits; empty for a hash that could not be computed.
struct FileHashes {
    std::string md5;
    std::string sha1;
    std::string sha256;
};

// One row's text: the digits once done, else what stands in their place.
[[nodiscard]] std::string HashRowText(HashOutcome outcome, int percent, std::string_view hex);

// "MD5: ..." lines, CR LF after each, for the hashes that were computed.
[[nodiscard]] std::string HashesClipboardText(const FileHashes& hashes);

// The look-up page of a SHA-256; empty unless sha256 is 64 hexadecimal digits, so
// that nothing but a hash can ever be put in the address.
[[nodiscard]] std::string VirusTotalUrl(std::string_view sha256);

// The question asked before the browser opens.
[[nodiscard]] std::string LookUpQuestion(std::string_view url);

}  // namespace cvt
