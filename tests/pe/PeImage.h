// Reads the header facts and the import table of a PE file, and judges the
// imports against what Windows 2000 offers; no Windows headers needed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cvt::pe {

struct Import {
  std::string dll;
  std::string function;  // empty when imported by ordinal
  int ordinal = -1;      // -1 when imported by name
};

struct Image {
  std::uint16_t machine = 0;
  std::uint16_t optionalMagic = 0;
  std::uint16_t subsystem = 0;
  std::uint16_t subsystemMajor = 0;
  std::uint16_t subsystemMinor = 0;
  std::vector<Import> imports;
};

// The image, or nullopt with the reason in *error when the bytes are no
// well-formed PE32 file.
[[nodiscard]] std::optional<Image> ReadImage(const std::vector<std::uint8_t>& bytes, std::string* error);

[[nodiscard]] std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);

// "DLL!function" (or "DLL!#ordinal", or "DLL" for a DLL that is no part of
// the system) for every import that would stop the program loading on
// Windows 2000, or that the program must look up at run time instead.
[[nodiscard]] std::vector<std::string> ForbiddenImports(const Image& image);

}  // namespace cvt::pe
