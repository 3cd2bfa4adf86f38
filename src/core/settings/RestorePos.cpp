#include "settings/RestorePos.h"

#include "settings/Hashes.h"

namespace hv {

namespace {

std::string SoftwarePath(std::string_view keyName) {
    return "Software\\" + std::string(keyName);
}

} // namespace

TRestorePosOptions RestorePosOptionsOf(std::string_view valueName) {
    for (const TRestorePosValue& value : RestorePosValues) {
        if (value.ValueName == valueName) {
            return value.Options;
        }
    }
    return 0;
}

std::string FormatRestorePos(const TWindowPlacement& placement, TRestorePosOptions options) {
    std::string text = std::to_string(placement.Left) + "," + std::to_string(placement.Top);
    if ((options & rpRestoreSize) != 0) {
        text += "," + std::to_string(placement.Width) + "," + std::to_string(placement.Height);
        if ((options & rpRestoreState) != 0) {
            text += placement.Maximized ? ",1" : ",0";
        }
    }
    return text;
}

std::array<int, 5> ParseRestorePos(std::string_view text) {
    std::array<int, 5> numbers{};
    std::size_t start = 0;
    for (int& number : numbers) {
        if (start > text.size()) {
            break;
        }
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        number = StrToIntOrZero(text.substr(start, end - start));
        start = end + 1;
    }
    return numbers;
}

TWindowPlacement ApplyRestorePos(std::string_view text, TRestorePosOptions options, const TWindowPlacement& current) {
    const std::array<int, 5> numbers = ParseRestorePos(text);
    TWindowPlacement placement = current;
    placement.Left = numbers[0];
    placement.Top = numbers[1];
    placement.Maximized = false;
    if ((options & rpRestoreSize) != 0) {
        placement.Width = numbers[2];
        placement.Height = numbers[3];
        placement.Maximized = (options & rpRestoreState) != 0 && numbers[4] > 0;
    }
    return placement;
}

std::optional<std::string> ReadRestorePos(const TRegistryStore& registry, std::string_view keyName,
                                          std::string_view valueName) {
    if (keyName.empty() || !registry.KeyExists(SoftwarePath(keyName))) {
        return std::nullopt;
    }
    const std::optional<TRegValue> value = registry.ReadValue(SoftwarePath(keyName), valueName);
    if (!value || (value->Kind != TRegValueKind::String && value->Kind != TRegValueKind::ExpandString)) {
        return std::nullopt;
    }
    return value->Data;
}

void WriteRestorePos(TRegistryStore& registry, std::string_view keyName, std::string_view valueName,
                     const TWindowPlacement& placement, TRestorePosOptions options) {
    registry.WriteValue(SoftwarePath(keyName), valueName, TRegValue::String(FormatRestorePos(placement, options)));
}

} // namespace hv
