#include "settings/MemoFont.h"

#include "settings/ConfigFields.h"

#include <cmath>

namespace hv {

namespace {

constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int kUnderline = 4;
constexpr int kStrikeOut = 8;

} // namespace

QFont MemoFontFromText(const std::string& text, QFont base) {
    const auto parts = ParseMemoFont(text);
    if (!parts) {
        return base;
    }
    base.setFamily(QString::fromStdString(parts->Face));
    if (parts->Size > 0) {
        base.setPointSize(parts->Size);
    }
    base.setBold((parts->Style & kBold) != 0);
    base.setItalic((parts->Style & kItalic) != 0);
    base.setUnderline((parts->Style & kUnderline) != 0);
    base.setStrikeOut((parts->Style & kStrikeOut) != 0);
    return base;
}

std::string MemoFontText(const QFont& font) {
    const int style = (font.bold() ? kBold : 0) | (font.italic() ? kItalic : 0) | (font.underline() ? kUnderline : 0) |
                      (font.strikeOut() ? kStrikeOut : 0);
    const int size = font.pointSize() > 0 ? font.pointSize() : static_cast<int>(std::lround(font.pointSizeF()));
    return FormatMemoFont(style, size, font.family().toStdString());
}

} // namespace hv
