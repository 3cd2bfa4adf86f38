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
    const auto spec = ParseMemoFont(text);
    if (!spec) {
        return base;
    }
    base.setFamily(QString::fromStdString(spec->Face));
    if (spec->Size > 0) {
        base.setPointSize(spec->Size);
    }
    base.setBold((spec->Style & kBold) != 0);
    base.setItalic((spec->Style & kItalic) != 0);
    base.setUnderline((spec->Style & kUnderline) != 0);
    base.setStrikeOut((spec->Style & kStrikeOut) != 0);
    return base;
}

std::string MemoFontText(const QFont& font) {
    const int style = (font.bold() ? kBold : 0) | (font.italic() ? kItalic : 0) | (font.underline() ? kUnderline : 0) |
                      (font.strikeOut() ? kStrikeOut : 0);
    const int size = font.pointSize() > 0 ? font.pointSize() : static_cast<int>(std::lround(font.pointSizeF()));
    return FormatMemoFont(style, size, font.family().toStdString());
}

} // namespace hv
