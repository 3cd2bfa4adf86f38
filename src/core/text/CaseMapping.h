#pragma once

#include <memory>
#include <string>
#include <string_view>

struct UCaseMap;

namespace hv {

// Letter case the way a locale sees it, on UTF-8 text: upper-casing for the find condition and
// case folding for the duplicate-URL keys. Characters without case are left alone; full-width,
// Greek and Cyrillic letters have case like any other. Texts of ASCII characters only take a
// fast path with the same result, except in the Turkic locales, whose dotted and dotless i
// make ASCII letters map differently.
class TCaseMapper {
public:
    // locale is an ICU locale name ("ja_JP", "tr"); empty means the user's locale.
    explicit TCaseMapper(std::string_view locale = {});
    TCaseMapper(const TCaseMapper&) = delete;
    TCaseMapper& operator=(const TCaseMapper&) = delete;
    ~TCaseMapper();

    // The upper-case form of text, written into out (whose capacity is reused).
    void UpperInto(std::string_view text, std::string& out) const;
    // The case-folded form of text (full folding; the Turkic rules in Turkic locales).
    void FoldInto(std::string_view text, std::string& out) const;

    std::string Upper(std::string_view text) const;
    std::string Fold(std::string_view text) const;

private:
    struct TMapDeleter {
        void operator()(UCaseMap* map) const;
    };
    std::unique_ptr<UCaseMap, TMapDeleter> m_Map;
    bool m_AsciiFast = true;
};

// The mapper of the user's locale, made on first use.
const TCaseMapper& UserCaseMapper();

} // namespace hv
