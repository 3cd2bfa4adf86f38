#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hv {

// What the settings need to know about the installed fonts.
class TFontQuery {
public:
    virtual ~TFontQuery();
    // True when a font of that family (under any of its names) is installed.
    virtual bool IsInstalled(std::string_view family) const = 0;
    // The family the desktop uses for its user interface text.
    virtual std::string DefaultUiFamily() const = 0;
};

// Asks fontconfig through its command-line tools (fc-list, fc-match). A tool that is missing,
// fails or does not answer within two seconds counts as "not installed", and the UI family
// is then "Sans Serif"; once a tool has not answered, the query asks no more.
class TFontconfigQuery final : public TFontQuery {
public:
    bool IsInstalled(std::string_view family) const override;
    std::string DefaultUiFamily() const override;

private:
    std::optional<std::string> Ask(const std::vector<std::string>& argv) const;

    mutable bool m_GaveUp = false;
};

// The default of the memo font: "00,09,MS UI Gothic" when that font is installed, else
// "00,09,ＭＳ Ｐゴシック" when that one is, else the UI family in the same form.
std::string MemoFontDefault(const TFontQuery& fonts);

} // namespace hv
