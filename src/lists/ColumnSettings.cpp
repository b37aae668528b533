// Column settings of the three list views: loading, saving and sort keys.
#include "lists/ColumnSettings.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "base/IniBool.h"

namespace cvt {

namespace {

constexpr std::string_view kGeneral = "General";
constexpr std::string_view kVersionText = "Ver 1.00";
constexpr int kDefaultRefreshRate = 2;

std::string Numbered(std::string_view stem, int n)
{
    std::string key(stem);
    key += std::to_string(n);
    return key;
}

bool InRange(int value, int low, int high) noexcept { return value >= low && value <= high; }

// Zero means "no count": the caller falls back or gives up.
int UsableCount(int count) noexcept { return InRange(count, 1, kMaxColumns) ? count : 0; }

int UsableAlign(int align) noexcept { return InRange(align, 0, 2) ? align : 0; }

int DefaultWidth(const IniSource& columnIni, std::string_view section, int kind)
{
    const int width = columnIni.ReadInt(section, Numbered("DefWidth", kind), 0);
    return InRange(width, 0, kMaxColumnWidth) ? width : kFallbackColumnWidth;
}

// An unreadable boolean takes its key's default and is reported once by its text.
class BooleanReader {
public:
    explicit BooleanReader(std::vector<std::string>& invalid) : invalid(invalid) {}

    bool Read(const IniSource& ini, std::string_view section, std::string_view key,
              bool defaultValue)
    {
        std::string text = ini.ReadString(section, key, IniBoolText(defaultValue));
        if (const auto value = ParseIniBool(text)) return *value;
        if (std::find(invalid.begin(), invalid.end(), text) == invalid.end())
            invalid.push_back(std::move(text));
        return defaultValue;
    }

private:
    std::vector<std::string>& invalid;
};

}  // namespace

LoadedSettings LoadSettingsModel(const IniSource& cvtIni, const IniSource& columnIni)
{
    LoadedSettings result;
    BooleanReader booleans(result.invalidBooleans);
    bool defaults = false;

    for (int n = 0; n < kListCount; ++n) {
        const std::string section = Numbered("List", n);

        int count = UsableCount(cvtIni.ReadInt(section, "Count", 0));
        if (count == 0) {
            defaults = true;
            count = UsableCount(columnIni.ReadInt(section, "DefCount", 0));
            if (count == 0) {
                result.columnsMissing = true;
                break;
            }
        }

        // Never lowered: after one list fell back, the rest read column.ini's Def keys.
        const IniSource& source = defaults ? columnIni : cvtIni;
        const auto key = [defaults](std::string_view name) {
            return defaults ? "Def" + std::string(name) : std::string(name);
        };

        GeneralOptions general;
        general.refreshRate = source.ReadInt(kGeneral, key("RefreshRate"), kDefaultRefreshRate);
        general.standardization = booleans.Read(source, kGeneral, key("ChkStandardization"), false);
        general.registerStartup = booleans.Read(source, kGeneral, key("ChkRegisterStartup"), false);
        result.generalPasses.push_back(general);

        TColumnManager& manager = result.columns[n];
        manager.Count = count;
        const int sortIndex = source.ReadInt(section, key("SortIndex"), 0);
        manager.SortIndex = InRange(sortIndex, 0, count - 1) ? sortIndex : 0;
        manager.SortWay = booleans.Read(source, section, key("SortWay"), true);

        for (int i = 0; i < count; ++i) {
            int kind = 0;
            int width = 0;
            int align = 0;
            if (defaults) {
                // column.ini keys width and alignment by kind, not by place.
                kind = columnIni.ReadInt(section, Numbered("DefIndex", i), 0);
                width = DefaultWidth(columnIni, section, kind);
                align = columnIni.ReadInt(section, Numbered("DefAlign", kind), 0);
            } else {
                kind = cvtIni.ReadInt(section, Numbered("Index", i), 0);
                width = cvtIni.ReadInt(section, Numbered("Width", i), 0);
                if (!InRange(width, 0, kMaxColumnWidth)) width = DefaultWidth(columnIni, section, kind);
                align = cvtIni.ReadInt(section, Numbered("Align", i), 0);
            }
            manager.Index.push_back(kind);
            manager.Width.push_back(width);
            manager.Align.push_back(UsableAlign(align));
        }
    }
    result.defaultsUsed = defaults;
    return result;
}

std::string ReadColumnCaption(const IniSource& columnIni, int list, int kind)
{
    return columnIni.ReadString(Numbered("List", list), Numbered("Name", kind), "");
}

void SaveSettingsModel(IniSink& cvtIni, const SavedState& state, ColumnSettingsArray& columns)
{
    cvtIni.WriteString(kGeneral, "Version", kVersionText);
    cvtIni.WriteInt(kGeneral, "RefreshRate", state.general.refreshRate);
    cvtIni.WriteString(kGeneral, "ChkStandardization", IniBoolText(state.general.standardization));
    cvtIni.WriteString(kGeneral, "ChkRegisterStartup", IniBoolText(state.general.registerStartup));

    for (int n = 0; n < kListCount; ++n) {
        const std::string section = Numbered("List", n);
        const std::vector<ShownColumn>& shown = state.shown[n];
        TColumnManager& manager = columns[n];
        const int count = static_cast<int>(shown.size());

        // The next start creates the columns in the shown order, so the sort
        // column is stored by its place to name the same column again.
        const auto sortColumn = std::find_if(shown.begin(), shown.end(), [&](const ShownColumn& c) {
            return c.cellIndex == manager.SortIndex;
        });
        const int sortPlace =
            sortColumn == shown.end() ? 0 : static_cast<int>(sortColumn - shown.begin());

        cvtIni.WriteInt(section, "Count", count);
        cvtIni.WriteInt(section, "SortIndex", sortPlace);
        cvtIni.WriteString(section, "SortWay", IniBoolText(manager.SortWay));

        manager.Count = count;
        manager.Index.clear();
        manager.Width.clear();
        manager.Align.clear();
        for (int i = 0; i < count; ++i) {
            const ShownColumn& column = shown[i];
            manager.Index.push_back(column.kind);
            manager.Width.push_back(column.width);
            manager.Align.push_back(column.align);
            cvtIni.WriteInt(section, Numbered("Index", i), column.kind);
            cvtIni.WriteInt(section, Numbered("Width", i), column.width);
            cvtIni.WriteInt(section, Numbered("Align", i), column.align);
        }
    }
}

int SortKeyFor(int sortIndex, bool sortWay) noexcept
{
    if (sortIndex < 0 || sortIndex >= kNone) sortIndex = 0;
    const int key = sortIndex + 1;
    return sortWay ? key : -key;
}

SortOrder SortOrderFromKey(int sortKey) noexcept
{
    if (sortKey == 0) return {};
    // Widened so that the most negative key has a magnitude too.
    const std::int64_t magnitude = sortKey < 0 ? -static_cast<std::int64_t>(sortKey) : sortKey;
    return {static_cast<int>(magnitude - 1), sortKey < 0};
}

int ApplySortKey(int compareResult, int sortKey) noexcept
{
    const int sign = (compareResult > 0) - (compareResult < 0);
    return sortKey < 0 ? -sign : sign;
}

void SortDirectionFlags::Reset(int count)
{
    flags.assign(static_cast<std::size_t>(std::clamp(count, 0, kMaxColumns)), false);
}

bool SortDirectionFlags::NextDescending(int cell) const noexcept
{
    return cell >= 0 && cell < Count() && flags[static_cast<std::size_t>(cell)];
}

int SortDirectionFlags::ClickKey(int cell) noexcept
{
    if (cell < 0 || cell >= Count()) return 0;
    const auto at = static_cast<std::size_t>(cell);
    const int key = flags[at] ? -(cell + 1) : cell + 1;
    flags[at] = !flags[at];
    return key;
}

int ColumnClick(SortDirectionFlags& flags, TColumnManager& manager, int cell) noexcept
{
    const int key = flags.ClickKey(cell);
    if (key == 0) return 0;
    manager.SortIndex = cell;
    manager.SortWay = flags.NextDescending(cell);
    return key;
}

}  // namespace cvt
