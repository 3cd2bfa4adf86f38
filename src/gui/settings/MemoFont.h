#pragma once

#include <QFont>

#include <string>

namespace hv {

// The font of a MemoFont text ("00,09,Face"): the face, the size when above 0 and the style
// bits; base where the text says nothing usable.
QFont MemoFontFromText(const std::string& text, QFont base);
// The MemoFont text of a font: its style bits, its size in points (0..99) and its family.
std::string MemoFontText(const QFont& font);

} // namespace hv
