// Hostile versions of the four INI files in a program folder of their own, and
// the check that the program gave back every entry it could read: the fuzz-ini
// benchmark's generator. The end-to-end tests keep one hand-made case per reader path.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cvt::hostile {

enum class IniFile { Column, Settings, Danger, Schedules };
inline constexpr std::array<IniFile, 4> kIniFiles{IniFile::Column, IniFile::Settings, IniFile::Danger,
                                                  IniFile::Schedules};

inline const char* FileNameOf(IniFile file) {
  switch (file) {
    case IniFile::Column: return "column.ini";
    case IniFile::Settings: return "cvt.ini";
    case IniFile::Danger: return "cvtpdb.ini";
    case IniFile::Schedules: return "cvtmgr.ini";
  }
  return "";
}

// Sound and Absent are what a file is when it is not the hostile one.
enum class Hostility {
  Sound,
  Absent,
  BinaryJunk,
  LongLines,
  ManySections,
  Duplicates,
  BadNumbers,
  MissingSections,
  CrOnly,
  LfOnly,
  Utf8Bom,
  Utf16,
  Empty,
  ReadOnly,
  Folder,
};
inline constexpr std::array<Hostility, 13> kHostileKinds{
    Hostility::BinaryJunk, Hostility::LongLines, Hostility::ManySections, Hostility::Duplicates,
    Hostility::BadNumbers, Hostility::MissingSections, Hostility::CrOnly,  Hostility::LfOnly,
    Hostility::Utf8Bom,    Hostility::Utf16,           Hostility::Empty,   Hostility::ReadOnly,
    Hostility::Folder};

inline const char* NameOf(Hostility kind) {
  switch (kind) {
    case Hostility::Sound: return "sound";
    case Hostility::Absent: return "absent";
    case Hostility::BinaryJunk: return "binary-junk";
    case Hostility::LongLines: return "long-lines";
    case Hostility::ManySections: return "many-sections";
    case Hostility::Duplicates: return "duplicates";
    case Hostility::BadNumbers: return "bad-numbers";
    case Hostility::MissingSections: return "missing-sections";
    case Hostility::CrOnly: return "cr-only";
    case Hostility::LfOnly: return "lf-only";
    case Hostility::Utf8Bom: return "utf8-bom";
    case Hostility::Utf16: return "utf16";
    case Hostility::Empty: return "empty";
    case Hostility::ReadOnly: return "read-only";
    case Hostility::Folder: return "folder";
  }
  return "";
}

// What each file of one case is; the seed makes the case repeatable.
struct CasePlan {
  std::uint32_t seed = 0;
  std::array<Hostility, 4> kinds{Hostility::Sound, Hostility::Sound, Hostility::Sound, Hostility::Sound};

  Hostility& operator[](IniFile file) { return kinds[static_cast<size_t>(file)]; }
  Hostility operator[](IniFile file) const { return kinds[static_cast<size_t>(file)]; }
};

inline std::string Describe(const CasePlan& plan) {
  std::string text = "seed " + std::to_string(plan.seed) + ":";
  for (IniFile file : kIniFiles) text += std::string(" ") + FileNameOf(file) + "=" + NameOf(plan[file]);
  return text;
}

// splitmix64: the same stream on every compiler, unlike the standard distributions.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint32_t Below(std::uint32_t n) { return n == 0 ? 0 : static_cast<std::uint32_t>(Next() % n); }
  int Between(int low, int high) { return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low + 1))); }
  bool OneIn(std::uint32_t n) { return Below(n) == 0; }
  template <class T, size_t N>
  const T& Pick(const std::array<T, N>& items) { return items[Below(N)]; }
  template <class T>
  const T& Pick(const std::vector<T>& items) { return items[Below(static_cast<std::uint32_t>(items.size()))]; }

 private:
  std::uint64_t state_;
};

// The form a file's 100,000 sections take in a case: for cvtmgr.ini and
// cvtpdb.ini, entries that the file's count names (true) or filler; the other
// two files always get filler. Apart from the main stream, so that a plan can
// choose its seed for the form.
inline bool CountedSections(std::uint32_t seed, IniFile file) {
  if (file != IniFile::Schedules && file != IniFile::Danger) return false;
  Rng rng(seed ^ (0x9E3779B9u * (static_cast<std::uint32_t>(file) + 1)));
  return rng.OneIn(2);
}

// ---------------------------------------------------------------------------
// Plans

// Case `index` of the benchmark: each file takes each hostile kind in turn, and
// one case in three makes a second file hostile too.
inline CasePlan GeneratedPlan(std::uint32_t index) {
  CasePlan plan;
  plan.seed = index * 2654435761u + 977u;
  const auto victim = static_cast<size_t>(index % 4);
  plan.kinds[victim] = kHostileKinds[(index / 4) % kHostileKinds.size()];
  Rng rng(plan.seed ^ 0x5EEDu);
  for (size_t f = 0; f < plan.kinds.size(); ++f) {
    if (f == victim) continue;
    if (rng.OneIn(3)) plan.kinds[f] = rng.Pick(kHostileKinds);
    else if (f != static_cast<size_t>(IniFile::Column) && rng.OneIn(8)) plan.kinds[f] = Hostility::Absent;
  }
  // Without column.ini the program starts only from stored settings.
  if (plan[IniFile::Column] == Hostility::Sound && plan[IniFile::Settings] == Hostility::Sound && rng.OneIn(10))
    plan[IniFile::Column] = Hostility::Absent;
  return plan;
}

// The first seed from `from` on whose 100,000 sections in `file` take the form asked for.
inline std::uint32_t SeedForSections(std::uint32_t from, IniFile file, bool counted) {
  while (CountedSections(from, file) != counted) ++from;
  return from;
}

// Thirty cases that give every file every hostile kind at least once: column.ini
// and cvt.ini share the even cases, the other two the odd ones, then four cases
// make all four files hostile at once. The sections of cvtmgr.ini and cvtpdb.ini
// are counted entries in the first cases that give them 100,000, and filler in
// the mixed ones.
inline std::vector<CasePlan> RepresentativePlans() {
  std::vector<CasePlan> plans;
  const auto kindAt = [](size_t n) { return kHostileKinds[n % kHostileKinds.size()]; };
  for (std::uint32_t j = 0; j < 26; ++j) {
    CasePlan plan;
    plan.seed = 1000 + j;
    const size_t round = j / 2;
    if (j % 2 == 0) {
      plan[IniFile::Column] = kindAt(round);
      plan[IniFile::Settings] = kindAt(round + 3);
    } else {
      plan[IniFile::Danger] = kindAt(round + 6);
      plan[IniFile::Schedules] = kindAt(round + 9);
      for (IniFile file : {IniFile::Danger, IniFile::Schedules})
        if (plan[file] == Hostility::ManySections) plan.seed = SeedForSections(plan.seed * 100, file, true);
    }
    plans.push_back(plan);
  }
  using H = Hostility;
  const std::array<std::array<H, 4>, 4> mixed{{
      {H::Duplicates, H::ManySections, H::LongLines, H::ManySections},
      {H::CrOnly, H::Utf16, H::Utf8Bom, H::BadNumbers},
      {H::Sound, H::BadNumbers, H::BinaryJunk, H::LongLines},
      {H::MissingSections, H::Duplicates, H::Folder, H::Duplicates},
  }};
  for (size_t m = 0; m < mixed.size(); ++m) {
    CasePlan plan;
    plan.seed = SeedForSections(2000 + 100 * static_cast<std::uint32_t>(m), IniFile::Schedules, false);
    plan.kinds = mixed[m];
    plans.push_back(plan);
  }
  return plans;
}

// ---------------------------------------------------------------------------
// INI documents as lines, before they become bytes

struct IniSection {
  std::string name;  // empty with !header: the lines before the first section
  bool header = true;
  std::vector<std::string> lines;
};

struct IniDoc {
  std::vector<IniSection> sections;

  // The reference is good until the next Add.
  IniSection& Add(std::string name) {
    sections.push_back({std::move(name), true, {}});
    return sections.back();
  }

  std::string Serialize(std::string_view eol) const {
    std::string text;
    for (const IniSection& section : sections) {
      if (section.header) {
        text += "[" + section.name + "]";
        text += eol;
      }
      for (const std::string& line : section.lines) {
        text += line;
        text += eol;
      }
    }
    return text;
  }
};

inline void Put(IniSection& section, const std::string& key, const std::string& value) {
  section.lines.push_back(key + "=" + value);
}

// Words with trail bytes 0x5C ('\'), so that a reader that cuts double-byte
// text in the wrong place shows it.
inline const std::vector<std::string>& JapaneseWords() {
  static const std::vector<std::string> words{"メモ帳", "ソフト", "表示", "予定表", "常駐プログラム",
                                              "ウイルス対策", "ｶﾀｶﾅ", "能力"};
  return words;
}

inline std::string ImageName(Rng& rng) {
  switch (rng.Below(4)) {
    case 0: return rng.Pick(JapaneseWords()) + ".exe";
    case 1: return "tool" + std::to_string(rng.Below(1000));  // no extension
    default: return "proc" + std::to_string(rng.Below(100000)) + ".exe";
  }
}

inline std::string ImagePath(Rng& rng, const std::string& name) {
  return "C:\\Program Files\\" + rng.Pick(JapaneseWords()) + "\\" + name;
}

// The hex digits and checksum byte that the private-profile structure form uses.
inline std::string StructText(const void* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::string text;
  unsigned sum = 0;
  for (size_t i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
    sum += bytes[i];
  }
  text += digits[(sum >> 4) & 15];
  text += digits[sum & 15];
  return text;
}

inline std::string PlacementText(Rng& rng) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  placement.showCmd = SW_SHOWNORMAL;
  placement.ptMinPosition = {-1, -1};
  placement.ptMaxPosition = {-1, -1};
  const int left = rng.Between(0, 300), top = rng.Between(0, 200);
  placement.rcNormalPosition = {left, top, left + rng.Between(300, 700), top + rng.Between(200, 500)};
  return StructText(&placement, sizeof placement);
}

// Column kinds each list knows: processes 0-6, windows 0-5, schedules 0-3.
inline constexpr std::array<int, 3> kKindsPerList{7, 6, 4};

inline IniDoc SoundColumnIni(Rng& rng) {
  IniDoc doc;
  doc.sections.push_back({"", false, {"; column definitions"}});
  {
    IniSection& general = doc.Add("General");
    Put(general, "DefRefreshRate", std::to_string(rng.Between(2, 59)));
    Put(general, "DefChkStandardization", "False");
    Put(general, "DefChkRegisterStartup", "False");
  }
  for (int n = 0; n < 3; ++n) {
    IniSection& list = doc.Add("List" + std::to_string(n));
    const int kinds = kKindsPerList[static_cast<size_t>(n)];
    const int count = rng.Between(1, kinds + 2);
    Put(list, "DefCount", std::to_string(count));
    Put(list, "DefSortIndex", std::to_string(rng.Below(static_cast<std::uint32_t>(count))));
    Put(list, "DefSortWay", rng.OneIn(2) ? "True" : "False");
    for (int i = 0; i < count; ++i) Put(list, "DefIndex" + std::to_string(i), std::to_string(rng.Below(kinds)));
    for (int k = 0; k < kinds; ++k) {
      Put(list, "Name" + std::to_string(k), rng.Pick(JapaneseWords()) + "(" + std::to_string(k) + ")");
      Put(list, "DefWidth" + std::to_string(k), std::to_string(rng.Between(20, 300)));
      Put(list, "DefAlign" + std::to_string(k), std::to_string(rng.Below(3)));
    }
  }
  return doc;
}

inline IniDoc SoundSettingsIni(Rng& rng) {
  IniDoc doc;
  {
    IniSection& general = doc.Add("General");
    Put(general, "Version", "Ver 1.00");
    Put(general, "RefreshRate", std::to_string(rng.Between(2, 59)));
    Put(general, "ChkStandardization", "False");
    Put(general, "ChkRegisterStartup", "False");
  }
  {
    IniSection& window = doc.Add("Window");
    if (!rng.OneIn(3)) Put(window, "Placement", PlacementText(rng));
    if (rng.OneIn(2)) Put(window, "SubPlacement", PlacementText(rng));
  }
  for (int n = 0; n < 3; ++n) {
    IniSection& list = doc.Add("List" + std::to_string(n));
    const int count = rng.Between(1, 8);
    Put(list, "Count", std::to_string(count));
    Put(list, "SortIndex", std::to_string(rng.Below(static_cast<std::uint32_t>(count))));
    Put(list, "SortWay", rng.OneIn(2) ? "True" : "False");
    for (int i = 0; i < count; ++i) {
      const std::string at = std::to_string(i);
      // Now and then a kind the list does not know: a column of empty cells.
      const int kind = rng.OneIn(10) ? rng.Between(7, 100) : static_cast<int>(rng.Below(kKindsPerList[n]));
      Put(list, "Index" + at, std::to_string(kind));
      Put(list, "Width" + at, std::to_string(rng.Between(0, 400)));
      Put(list, "Align" + at, std::to_string(rng.Below(3)));
    }
  }
  return doc;
}

inline IniDoc SoundDangerIni(Rng& rng) {
  IniDoc doc;
  const int count = rng.OneIn(8) ? 0 : rng.Between(1, 30);
  std::vector<std::string> names;
  {
    IniSection& general = doc.Add("General");
    Put(general, "Num", std::to_string(count));
    for (int n = 0; n < count; ++n) {
      names.push_back(ImageName(rng));
      Put(general, "db" + std::to_string(n), names.back());
    }
  }
  for (const std::string& name : names) {
    IniSection& entry = doc.Add(name);
    if (!rng.OneIn(6)) Put(entry, "Danger", std::to_string(rng.Between(0, 6)));
    Put(entry, "Detail", rng.Pick(JapaneseWords()) + "の説明");
  }
  return doc;
}

inline std::string TimerText(Rng& rng) {
  const double days = 36000 + static_cast<double>(rng.Below(30000)) + static_cast<double>(rng.Below(1000000)) / 1e6;
  char text[64];
  switch (rng.Below(5)) {
    case 0: return "0";
    case 1: return "0.0";
    case 2: std::snprintf(text, sizeof text, "%.10f", days); return text;
    default: std::snprintf(text, sizeof text, "%.15g", days); return text;
  }
}

inline std::string DeletableText(Rng& rng) {
  static const std::vector<std::string> texts{"-1", "0", "True", "False", "true", "1"};
  return rng.Pick(texts);
}

inline IniDoc SoundSchedulesIni(Rng& rng) {
  IniDoc doc;
  const int count = rng.Between(0, 12);
  {
    IniSection& general = doc.Add("General");
    Put(general, "NumOfMgr", std::to_string(count));
  }
  for (int i = 0; i < count; ++i) {
    IniSection& entry = doc.Add("Mgr" + std::to_string(i));
    const std::string name = ImageName(rng);
    Put(entry, "FileName", name);
    Put(entry, "FilePath", ImagePath(rng, name));
    Put(entry, "Operation", std::to_string(rng.Between(-1, 4)));
    Put(entry, "Option", std::to_string(rng.Below(16)));
    if (!rng.OneIn(6)) Put(entry, "Timer", TimerText(rng));
    if (!rng.OneIn(6)) Put(entry, "Deletable", DeletableText(rng));
  }
  return doc;
}

inline IniDoc SoundDoc(IniFile file, Rng& rng) {
  switch (file) {
    case IniFile::Column: return SoundColumnIni(rng);
    case IniFile::Settings: return SoundSettingsIni(rng);
    case IniFile::Danger: return SoundDangerIni(rng);
    case IniFile::Schedules: return SoundSchedulesIni(rng);
  }
  return {};
}

// ---------------------------------------------------------------------------
// Hostile values

enum class ValueKind { Text, Int, Bool, Float, Struct, MachineOption };

// What a key holds. MachineOption: the two options that change the machine
// outside the program folder (the task manager registration and the Startup
// shortcut); the generator never turns them on.
inline ValueKind KindOfKey(std::string_view key) {
  std::string stem(key);
  while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (stem.rfind("def", 0) == 0) stem.erase(0, 3);  // column.ini's defaults hold what cvt.ini's keys hold
  static const std::array<std::string_view, 11> ints{"refreshrate", "count",    "sortindex", "index",
                                                      "width",       "align",    "num",       "danger",
                                                      "numofmgr",    "operation", "option"};
  if (std::find(ints.begin(), ints.end(), stem) != ints.end()) return ValueKind::Int;
  if (stem == "sortway" || stem == "deletable") return ValueKind::Bool;
  if (stem == "timer") return ValueKind::Float;
  if (stem == "placement" || stem == "subplacement") return ValueKind::Struct;
  if (stem == "chkstandardization" || stem == "chkregisterstartup") return ValueKind::MachineOption;
  return ValueKind::Text;
}

inline std::string HostileValue(ValueKind kind, Rng& rng) {
  static const std::vector<std::string> ints{
      "-1",  "-2147483648", "2147483647", "2147483648", "4294967295", "-4294967297", "99999999999999999999",
      "abc", "12abc",       " 7",         "+3",         "0x10",       "0x7FFFFFFF",  "-0",
      "1e9", "１２",        "",           "3.5",        "--5",        "0b101",       "0o17",
      "65",  "64",          "100000",     "-100000",    "2",          "\"5\""};
  static const std::vector<std::string> bools{"yes", "no",  "2",    "-1",  "tRUE", "FALSE", "",   "True ",
                                              "T",   "1.0", "0x1",  "+0",  "-",    "ＴＲＵＥ", "99999999999999999999999"};
  // Only texts that read as false or as no boolean at all (which takes the default, false).
  static const std::vector<std::string> machineOptions{"False", "false", "FALSE", "0",   "00",   "-0",  "+0",
                                                       "no",    "",      "off",   "Tru", "0x1", "1.0", "T",
                                                       "ＴＲＵＥ", "000000000000000000000000"};
  static const std::vector<std::string> floats{
      "1e308", "1e309", "-1e400", "nan", "NaN", "inf", "-inf", "1,5", "38596,5", "0x10", "", "  ",
      "1.7976931348623157e308", "4.9e-324", "-0", "1e", "e5", ".5", "5.", "+.5e-3", "１．５",
      "0.1234567890123456789", "-38596.25", "38596.6491314815"};
  switch (kind) {
    case ValueKind::Int: return rng.Pick(ints);
    case ValueKind::Bool: return rng.Pick(bools);
    case ValueKind::MachineOption: return rng.Pick(machineOptions);
    case ValueKind::Float: return rng.Pick(floats);
    case ValueKind::Struct: {
      std::string text = PlacementText(rng);
      switch (rng.Below(4)) {
        case 0: return text.substr(0, rng.Below(static_cast<std::uint32_t>(text.size())));  // cut short
        case 1: text.back() = text.back() == '0' ? '1' : '0'; return text;                    // bad checksum
        case 2: return text + "00";                                                           // too long
        default: {
          WINDOWPLACEMENT placement{};
          placement.length = rng.OneIn(2) ? sizeof placement : 0;
          placement.showCmd = rng.Pick(std::array<UINT, 4>{SW_HIDE, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, 99});
          const LONG distant = rng.OneIn(2) ? 32000 : -32000;
          placement.rcNormalPosition = {distant, distant, distant - 100, distant + 50000};
          return StructText(&placement, sizeof placement);
        }
      }
    }
    case ValueKind::Text: break;
  }
  return rng.OneIn(2) ? std::string(300, 'x') : rng.Pick(JapaneseWords()) + "\"'[]=;";
}

inline bool SplitLine(const std::string& line, std::string* key, std::string* value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  *key = line.substr(0, equals);
  *value = line.substr(equals + 1);
  return true;
}

// ---------------------------------------------------------------------------
// Turning a sound document hostile

// Mostly the bytes that mean something to an INI reader, lead bytes without
// their trail bytes among them.
inline std::string Junk(Rng& rng, size_t size) {
  static const std::string special("\0\r\n[]=;\"' \t\x1A\x81\x9F\xE0\xFC\xFF\xEF\xBB\xBF\xFE", 21);
  std::string junk(size, '\0');
  for (char& c : junk) c = rng.OneIn(2) ? special[rng.Below(static_cast<std::uint32_t>(special.size()))]
                                        : static_cast<char>(rng.Below(256));
  return junk;
}

inline std::string LongText(Rng& rng, size_t size) {
  std::string text;
  text.reserve(size + 2);
  switch (rng.Below(3)) {
    case 0:
      while (text.size() < size) text += static_cast<char>('0' + rng.Below(10));
      break;
    case 1:
      while (text.size() < size) text += rng.Pick(JapaneseWords());
      break;
    default:
      while (text.size() < size) text += static_cast<char>('A' + rng.Below(26));
      break;
  }
  text.resize(size);  // may end on a lead byte
  return text;
}

inline std::string ToUtf16(const std::string& ansi, bool bigEndian) {
  const int wide = MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), wide);
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (wchar_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

inline std::string ToUtf8(const std::string& ansi) {
  const int wide = MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(932, 0, ansi.data(), static_cast<int>(ansi.size()), text.data(), wide);
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

inline constexpr int kManySections = 100000;
inline constexpr size_t kLongLine = 1u << 20;

// 100,000 sections: as many entries as the file's count can name, or filler
// before, after or between the real sections.
inline void AddManySections(IniFile file, bool counted, IniDoc& doc, Rng& rng) {
  if (file == IniFile::Schedules && counted) {
    static const std::vector<std::string> counts{"100000", "10000", "10001", "99999", "2147483647"};
    doc.sections[0].lines = {"NumOfMgr=" + rng.Pick(counts)};
    doc.sections.resize(1);
    for (int i = 0; i < kManySections; ++i) {
      IniSection& entry = doc.Add("Mgr" + std::to_string(i));
      Put(entry, "FileName", "many" + std::to_string(i) + ".exe");
      Put(entry, "Operation", std::to_string(i % 5));
      if (i % 1000 == 0) {
        Put(entry, "Timer", TimerText(rng));
        Put(entry, "Deletable", DeletableText(rng));
      }
    }
    return;
  }
  if (file == IniFile::Danger && counted) {
    IniDoc many;
    {
      IniSection& general = many.Add("General");
      Put(general, "Num", std::to_string(kManySections));
      for (int n = 0; n < kManySections; ++n) Put(general, "db" + std::to_string(n), "many" + std::to_string(n) + ".exe");
    }
    for (int n = 0; n < kManySections; ++n) {
      IniSection& entry = many.Add("many" + std::to_string(n) + ".exe");
      Put(entry, "Danger", std::to_string(n % 7));
      if (n % 100 == 0) Put(entry, "Detail", "多数");
    }
    doc = std::move(many);
    return;
  }
  std::vector<IniSection> filler;
  filler.reserve(kManySections);
  const bool listLike = rng.OneIn(2);
  for (int i = 0; i < kManySections; ++i) {
    IniSection section{listLike ? "List" + std::to_string(i + 3) : "Filler" + std::to_string(i), true, {}};
    Put(section, "Count", std::to_string(i % 9));
    filler.push_back(std::move(section));
  }
  const size_t at = rng.Below(3) == 0 ? 0 : rng.OneIn(2) ? doc.sections.size() : doc.sections.size() / 2;
  doc.sections.insert(doc.sections.begin() + static_cast<std::ptrdiff_t>(at),
                      std::make_move_iterator(filler.begin()), std::make_move_iterator(filler.end()));
}

inline std::string CaseChanged(std::string text, Rng& rng) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z' && rng.OneIn(2)) c = static_cast<char>(c - 'a' + 'A');
    else if (c >= 'A' && c <= 'Z' && rng.OneIn(2)) c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// The line with its value replaced by a hostile one of the key's kind.
inline std::string WithHostileValue(const std::string& line, Rng& rng) {
  std::string key, value;
  if (!SplitLine(line, &key, &value)) return line;
  return key + "=" + HostileValue(KindOfKey(key), rng);
}

inline void AddDuplicates(IniDoc& doc, Rng& rng) {
  const size_t originals = doc.sections.size();
  const int copies = rng.Between(1, 4);
  for (int c = 0; c < copies && originals > 0; ++c) {
    const size_t from = rng.Below(static_cast<std::uint32_t>(originals));
    IniSection copy = doc.sections[from];
    if (!copy.header) continue;
    if (rng.OneIn(3)) copy.name = CaseChanged(copy.name, rng);
    for (std::string& line : copy.lines)
      if (rng.OneIn(2)) line = WithHostileValue(line, rng);
    const size_t at = rng.OneIn(2) ? from : doc.sections.size();  // before the original, or at the end
    doc.sections.insert(doc.sections.begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
  }
  for (IniSection& section : doc.sections) {
    if (section.lines.empty() || !rng.OneIn(2)) continue;
    const size_t from = rng.Below(static_cast<std::uint32_t>(section.lines.size()));
    std::string key, value;
    if (!SplitLine(section.lines[from], &key, &value)) continue;
    if (rng.OneIn(3)) key = CaseChanged(key, rng);
    const std::string duplicate = WithHostileValue(key + "=" + value, rng);
    const size_t at = rng.OneIn(2) ? from : from + 1;
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at), duplicate);
  }
}

inline void MakeNumbersBad(IniDoc& doc, Rng& rng) {
  bool changed = false;
  for (IniSection& section : doc.sections) {
    for (std::string& line : section.lines) {
      std::string key, value;
      if (!SplitLine(line, &key, &value) || KindOfKey(key) == ValueKind::Text || !rng.OneIn(2)) continue;
      line = WithHostileValue(line, rng);
      changed = true;
    }
  }
  if (!changed && !doc.sections.empty()) doc.sections.front().lines.push_back("Count=-1");
}

inline void RemoveSections(IniDoc& doc, Rng& rng) {
  const int removals = rng.Between(1, std::max(1, static_cast<int>(doc.sections.size()) - 1));
  for (int r = 0; r < removals && !doc.sections.empty(); ++r) {
    const size_t at = rng.Below(static_cast<std::uint32_t>(doc.sections.size()));
    if (rng.OneIn(3)) {
      doc.sections[at].header = false;  // the keys fall into the section before
    } else {
      doc.sections.erase(doc.sections.begin() + static_cast<std::ptrdiff_t>(at));
    }
  }
}

// Lines of 1 MiB: a value, a section name, a key name, a comment, or a bare line.
inline void AddLongLines(IniDoc& doc, Rng& rng) {
  const int lines = rng.Between(1, 3);
  for (int l = 0; l < lines && !doc.sections.empty(); ++l) {
    IniSection& section = doc.sections[rng.Below(static_cast<std::uint32_t>(doc.sections.size()))];
    const std::string text = LongText(rng, kLongLine);
    switch (rng.Below(5)) {
      case 0: {
        std::vector<std::string*> candidates;
        for (std::string& line : section.lines) {
          std::string key, value;
          if (SplitLine(line, &key, &value) && KindOfKey(key) != ValueKind::MachineOption) candidates.push_back(&line);
        }
        if (candidates.empty()) {
          section.lines.push_back("Long=" + text);
        } else {
          std::string& line = *rng.Pick(candidates);
          line = line.substr(0, line.find('=') + 1) + text;
        }
        break;
      }
      case 1: doc.sections.insert(doc.sections.begin() + rng.Below(static_cast<std::uint32_t>(doc.sections.size())),
                                  IniSection{text, true, {"Key=1"}});
        break;
      case 2: section.lines.push_back(text + "=1"); break;
      case 3: section.lines.push_back(";" + text); break;
      default: section.lines.push_back(text); break;
    }
  }
}

// What the program folder gets for one file.
struct GeneratedFile {
  enum class Form { File, Folder, Absent } form = Form::File;
  std::string bytes;
  bool readOnly = false;
};

inline GeneratedFile Generate(IniFile file, Hostility kind, bool countedSections, Rng& rng) {
  IniDoc doc = SoundDoc(file, rng);
  GeneratedFile out;
  switch (kind) {
    case Hostility::Sound: break;
    case Hostility::Absent: out.form = GeneratedFile::Form::Absent; return out;
    case Hostility::Folder: out.form = GeneratedFile::Form::Folder; return out;
    case Hostility::Empty: return out;
    case Hostility::ReadOnly: out.readOnly = true; break;
    case Hostility::BinaryJunk:
      if (rng.OneIn(4)) {
        out.bytes = Junk(rng, rng.Between(1, 65536));
        return out;
      }
      // Junk only between lines: inside a line it could turn an option on.
      for (IniSection& section : doc.sections) {
        const int blobs = rng.Between(0, 3);
        for (int b = 0; b < blobs; ++b) {
          const size_t at = rng.Below(static_cast<std::uint32_t>(section.lines.size() + 1));
          std::string junk = Junk(rng, rng.Between(1, 4096));
          if (rng.OneIn(2)) junk += "\r\n";
          section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(junk));
        }
      }
      break;
    case Hostility::LongLines: AddLongLines(doc, rng); break;
    case Hostility::ManySections: AddManySections(file, countedSections, doc, rng); break;
    case Hostility::Duplicates: AddDuplicates(doc, rng); break;
    case Hostility::BadNumbers: MakeNumbersBad(doc, rng); break;
    case Hostility::MissingSections: RemoveSections(doc, rng); break;
    case Hostility::CrOnly: out.bytes = doc.Serialize("\r"); return out;
    case Hostility::LfOnly: out.bytes = doc.Serialize("\n"); return out;
    case Hostility::Utf8Bom: out.bytes = "\xEF\xBB\xBF" + ToUtf8(doc.Serialize("\r\n")); return out;
    case Hostility::Utf16: out.bytes = ToUtf16(doc.Serialize("\r\n"), rng.OneIn(4)); return out;
  }
  out.bytes = doc.Serialize("\r\n");
  return out;
}

// ---------------------------------------------------------------------------
// Files and folders

inline bool WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() ||
                  (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                   written == bytes.size());
  CloseHandle(file);
  return ok;
}

// The whole file, or nothing when it cannot be read as a file.
inline bool ReadBytes(const std::string& path, std::string* bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  bytes->assign(size == INVALID_FILE_SIZE ? 0 : size, '\0');
  DWORD read = 0;
  const bool ok = size != INVALID_FILE_SIZE &&
                  (size == 0 || (ReadFile(file, bytes->data(), size, &read, nullptr) && read == size));
  CloseHandle(file);
  return ok;
}

// Removes a folder with everything in it, read-only files included.
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

// One case's program folder, with the reference copies of the files in "ref":
// never seen by the program, read by the check as the program read the
// originals. Every case gets a name never used before in this run, so that no
// cached reading of an earlier case's file can answer for this one.
class CaseFolder {
 public:
  explicit CaseFolder(const std::string& stem) {
    static unsigned counter = 0;
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof base, base);
    for (unsigned attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      const std::string candidate = std::string(base) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                                    std::to_string(++counter) + "\\";
      if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
    if (!path_.empty() && !CreateDirectoryA((path_ + "ref").c_str(), nullptr)) path_.clear();
  }
  CaseFolder(const CaseFolder&) = delete;  // owns the folder
  CaseFolder& operator=(const CaseFolder&) = delete;
  ~CaseFolder() {
    if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 1));
  }

  // With a trailing backslash; empty when the folder could not be made.
  const std::string& Path() const { return path_; }
  std::string Program(IniFile file) const { return path_ + FileNameOf(file); }
  std::string Reference(IniFile file) const { return path_ + "ref\\" + FileNameOf(file); }

 private:
  std::string path_;
};

struct CaseFiles {
  CasePlan plan;
  std::array<GeneratedFile, 4> files;

  const GeneratedFile& operator[](IniFile file) const { return files[static_cast<size_t>(file)]; }
};

inline CaseFiles GenerateFiles(const CasePlan& plan) {
  CaseFiles out;
  out.plan = plan;
  Rng rng(plan.seed);
  for (IniFile file : kIniFiles)
    out.files[static_cast<size_t>(file)] = Generate(file, plan[file], CountedSections(plan.seed, file), rng);
  return out;
}

// Writes the four files of the plan and their reference copies; false with a
// reason when the folder could not be prepared.
inline bool WriteCase(const CaseFolder& folder, const CasePlan& plan, CaseFiles* out, std::string* error) {
  *out = GenerateFiles(plan);
  for (IniFile file : kIniFiles) {
    const GeneratedFile& generated = (*out)[file];
    const std::string path = folder.Program(file);
    bool ok = true;
    switch (generated.form) {
      case GeneratedFile::Form::Absent: break;
      case GeneratedFile::Form::Folder:
        ok = CreateDirectoryA(path.c_str(), nullptr) && WriteBytes(path + "\\inside.ini", "[General]\r\nNum=1\r\n");
        break;
      case GeneratedFile::Form::File:
        ok = WriteBytes(path, generated.bytes) && WriteBytes(folder.Reference(file), generated.bytes) &&
             (!generated.readOnly || SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        break;
    }
    if (!ok) {
      *error = std::string("cannot write ") + FileNameOf(file) + " (error " + std::to_string(GetLastError()) + ")";
      return false;
    }
  }
  return true;
}

// ---------------------------------------------------------------------------
// What the program could read, and what it gave back

// A stored column count the program takes: larger ones are refused as damage.
inline constexpr int kColumnCountLimit = 64;
inline constexpr int kColumnWidthLimit = 4000;
inline constexpr int kRefreshRateLow = 2, kRefreshRateHigh = 59;
// The program loads at most this many schedules, whatever "NumOfMgr" says.
inline constexpr int kScheduleLimit = 10000;

// Reads one file through the same private-profile functions the program uses.
class ProfileReader {
 public:
  explicit ProfileReader(std::string path) : path_(std::move(path)) {}
  int Int(const std::string& section, const std::string& key, int defaultValue) const {
    return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path_.c_str()));
  }
  std::string String(const std::string& section, const std::string& key, const std::string& defaultValue) const {
    char buffer[256] = {};
    GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer,
                             path_.c_str());
    return buffer;
  }
  bool Struct(const std::string& section, const std::string& key, void* buffer, UINT size) const {
    return GetPrivateProfileStructA(section.c_str(), key.c_str(), buffer, size, path_.c_str()) != FALSE;
  }
  // All "key=value" lines of a section, or false when they do not fit in 64 KiB.
  bool Section(const std::string& section, std::string* lines) const {
    std::vector<char> buffer(1 << 16);
    const DWORD length =
        GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    if (length + 2 >= buffer.size()) return false;
    lines->assign(buffer.data(), length);
    return true;
  }

 private:
  std::string path_;
};

// "True"/"False" in any letter case, or a decimal number (non-zero is true).
inline bool ParseBool(std::string_view text, bool* value) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "true" || lower == "false") {
    *value = lower == "true";
    return true;
  }
  std::string_view digits = text;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) digits.remove_prefix(1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos) return false;
  *value = digits.find_first_not_of('0') != std::string_view::npos;
  return true;
}

// Only a plain decimal number that converts without overflow or underflow:
// narrower than what the program takes, so a text counted here is one it reads.
inline bool ParseTimer(const std::string& text, double* value) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  if (i != text.size()) return false;
  errno = 0;
  *value = std::strtod(text.c_str(), nullptr);
  return errno == 0 && std::isfinite(*value);
}

// Equal to the 15 significant digits the program writes.
inline bool SameTimer(double a, double b) {
  return a == b || std::fabs(a - b) <= 1e-14 * std::max(std::fabs(a), std::fabs(b));
}

inline bool UsableCount(int count) { return count >= 1 && count <= kColumnCountLimit; }

// Whether some list has neither a usable stored count nor a usable default:
// then the program must end with its own error instead of showing its window.
inline bool ColumnDefinitionsMissing(const CaseFolder& folder) {
  const ProfileReader settings(folder.Reference(IniFile::Settings));
  const ProfileReader columns(folder.Reference(IniFile::Column));
  for (int n = 0; n < 3; ++n) {
    const std::string section = "List" + std::to_string(n);
    if (!UsableCount(settings.Int(section, "Count", 0)) && !UsableCount(columns.Int(section, "DefCount", 0)))
      return true;
  }
  return false;
}

// The losses in cvt.ini. An entry the program could read: the columns of each
// list that it took from cvt.ini (a usable "Count", and no earlier list that fell
// back to column.ini, after which every list reads column.ini's defaults), with
// each width, alignment, sort column and sort direction that is within what the
// program accepts; the refresh rate and the two options when all three lists
// came from cvt.ini (the last list's pass sets them); the detail window's
// placement when it reads as a placement. The main window's placement is not
// compared: the system may move a window onto the screen.
inline void SettingsLosses(const ProfileReader& before, const ProfileReader& after, std::vector<std::string>* losses) {
  const auto lost = [&](const std::string& what, const std::string& was, const std::string& now) {
    losses->push_back("cvt.ini " + what + ": was " + was + ", now " + now);
  };
  bool allFromSettings = true;
  for (int n = 0; n < 3 && allFromSettings; ++n) {
    const std::string section = "List" + std::to_string(n);
    const int count = before.Int(section, "Count", 0);
    if (!UsableCount(count)) {
      allFromSettings = false;
      break;
    }
    const int countAfter = after.Int(section, "Count", 0);
    if (countAfter != count) {
      lost(section + " Count", std::to_string(count), std::to_string(countAfter));
      continue;
    }
    const int sortIndex = before.Int(section, "SortIndex", 0);
    if (sortIndex >= 0 && sortIndex < count && after.Int(section, "SortIndex", 0) != sortIndex)
      lost(section + " SortIndex", std::to_string(sortIndex), std::to_string(after.Int(section, "SortIndex", 0)));
    bool way = false, wayAfter = false;
    const std::string wayText = after.String(section, "SortWay", "True");
    if (ParseBool(before.String(section, "SortWay", "True"), &way) && (!ParseBool(wayText, &wayAfter) || way != wayAfter))
      lost(section + " SortWay", way ? "true" : "false", wayText);
    for (int i = 0; i < count; ++i) {
      const std::string at = std::to_string(i);
      const int kind = before.Int(section, "Index" + at, 0);
      if (after.Int(section, "Index" + at, 0) != kind)
        lost(section + " Index" + at, std::to_string(kind), std::to_string(after.Int(section, "Index" + at, 0)));
      const int width = before.Int(section, "Width" + at, 0);
      if (width >= 0 && width <= kColumnWidthLimit && after.Int(section, "Width" + at, 0) != width)
        lost(section + " Width" + at, std::to_string(width), std::to_string(after.Int(section, "Width" + at, 0)));
      const int align = before.Int(section, "Align" + at, 0);
      if (align >= 0 && align <= 2 && after.Int(section, "Align" + at, 0) != align)
        lost(section + " Align" + at, std::to_string(align), std::to_string(after.Int(section, "Align" + at, 0)));
    }
  }
  if (allFromSettings) {
    const int rate = before.Int("General", "RefreshRate", kRefreshRateLow);
    if (rate >= kRefreshRateLow && rate <= kRefreshRateHigh && after.Int("General", "RefreshRate", 0) != rate)
      lost("RefreshRate", std::to_string(rate), std::to_string(after.Int("General", "RefreshRate", 0)));
    for (const char* key : {"ChkStandardization", "ChkRegisterStartup"}) {
      bool value = false, valueAfter = false;
      const std::string text = after.String("General", key, "False");
      if (ParseBool(before.String("General", key, "False"), &value) && (!ParseBool(text, &valueAfter) || value != valueAfter))
        lost(key, value ? "true" : "false", text);
    }
  }
  WINDOWPLACEMENT sub{}, subAfter{};
  if (before.Struct("Window", "SubPlacement", &sub, sizeof sub) &&
      (!after.Struct("Window", "SubPlacement", &subAfter, sizeof subAfter) ||
       std::memcmp(&sub, &subAfter, sizeof sub) != 0))
    lost("SubPlacement", before.String("Window", "SubPlacement", ""), after.String("Window", "SubPlacement", ""));
}

// The losses in cvtmgr.ini. An entry the program could read: each of the first
// min(NumOfMgr, 10,000) entries; every field of it that reads as a value (the
// two texts, the two integers, a "Timer" that is a plain decimal number and a
// "Deletable" that is a boolean) must read back the same, and the count that
// was written must still name it.
inline void ScheduleLosses(const ProfileReader& before, const ProfileReader& after, std::vector<std::string>* losses) {
  const int stored = before.Int("General", "NumOfMgr", 0);
  const int count = std::clamp(stored, 0, kScheduleLimit);
  if (count == 0) return;
  const int countAfter = after.Int("General", "NumOfMgr", 0);
  if (countAfter < count) {
    losses->push_back("cvtmgr.ini NumOfMgr: was " + std::to_string(stored) + ", now " + std::to_string(countAfter));
    return;
  }
  constexpr size_t kReported = 20;  // per case; a broken save would list thousands
  const auto lost = [&](int i, const char* key, const std::string& was, const std::string& now) {
    if (losses->size() < kReported)
      losses->push_back("cvtmgr.ini Mgr" + std::to_string(i) + " " + key + ": was \"" + was + "\", now \"" + now + "\"");
  };
  for (int i = 0; i < count; ++i) {
    const std::string section = "Mgr" + std::to_string(i);
    // The same lines read the same: one search of the file instead of twelve.
    std::string lines, linesAfter;
    if (before.Section(section, &lines) && after.Section(section, &linesAfter) && lines == linesAfter) continue;
    for (const char* key : {"FileName", "FilePath"}) {
      const std::string was = before.String(section, key, ""), now = after.String(section, key, "");
      if (was != now) lost(i, key, was, now);
    }
    for (const char* key : {"Operation", "Option"}) {
      const int was = before.Int(section, key, 0), now = after.Int(section, key, 0);
      if (was != now) lost(i, key, std::to_string(was), std::to_string(now));
    }
    double timer = 0, timerAfter = 0;
    const std::string timerText = before.String(section, "Timer", "0.0");
    const std::string timerTextAfter = after.String(section, "Timer", "0.0");
    if (ParseTimer(timerText, &timer) && (!ParseTimer(timerTextAfter, &timerAfter) || !SameTimer(timer, timerAfter)))
      lost(i, "Timer", timerText, timerTextAfter);
    bool deletable = false, deletableAfter = false;
    const std::string deletableText = before.String(section, "Deletable", "True");
    const std::string deletableTextAfter = after.String(section, "Deletable", "True");
    if (ParseBool(deletableText, &deletable) &&
        (!ParseBool(deletableTextAfter, &deletableAfter) || deletable != deletableAfter))
      lost(i, "Deletable", deletableText, deletableTextAfter);
  }
}

// Whether the program's file is still exactly what was generated.
inline bool Unchanged(const CaseFolder& folder, IniFile file, const GeneratedFile& generated) {
  const std::string path = folder.Program(file);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  switch (generated.form) {
    case GeneratedFile::Form::Absent: return attributes == INVALID_FILE_ATTRIBUTES;
    case GeneratedFile::Form::Folder:
      return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    case GeneratedFile::Form::File: break;
  }
  std::string bytes;
  return ReadBytes(path, &bytes) && bytes == generated.bytes;
}

// Everything the program lost or damaged in one case. endedWithError: it ended
// at missing column definitions, so it must have written nothing at all;
// otherwise it closed through its window and wrote cvt.ini and cvtmgr.ini.
inline std::vector<std::string> FindLosses(const CaseFolder& folder, const CaseFiles& files, bool endedWithError) {
  std::vector<std::string> losses;
  for (IniFile file : kIniFiles) {
    const bool neverWritten = file == IniFile::Column || file == IniFile::Danger;
    if ((neverWritten || endedWithError) && !Unchanged(folder, file, files[file]))
      losses.push_back(std::string(FileNameOf(file)) + " changed although the program had nothing to write to it");
  }
  if (endedWithError) return losses;
  SettingsLosses(ProfileReader(folder.Reference(IniFile::Settings)), ProfileReader(folder.Program(IniFile::Settings)),
                 &losses);
  ScheduleLosses(ProfileReader(folder.Reference(IniFile::Schedules)),
                 ProfileReader(folder.Program(IniFile::Schedules)), &losses);
  return losses;
}

}  // namespace cvt::hostile
