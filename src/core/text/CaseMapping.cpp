#include "text/CaseMapping.h"

#include <unicode/locid.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>

#include <cstdint>
#include <limits>

namespace hv {

namespace {

enum class TMapping { Upper, Fold };

// Copies text into out with ASCII letters mapped; false (out unspecified) at the first byte
// outside ASCII.
bool MapAscii(std::string_view text, std::string& out, TMapping mapping) {
    out.resize(text.size());
    char* dest = out.data();
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            return false;
        }
        if (mapping == TMapping::Upper) {
            *dest++ = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        } else {
            *dest++ = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return true;
}

void MapAsciiOnly(std::string_view text, std::string& out, TMapping mapping) {
    out.assign(text);
    for (char& c : out) {
        if (mapping == TMapping::Upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (mapping == TMapping::Fold && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
}

bool IsTurkic(const icu::Locale& locale) {
    const std::string_view language = locale.getLanguage();
    return language == "tr" || language == "az";
}

void MapWithIcu(const UCaseMap* map, std::string_view text, std::string& out, TMapping mapping) {
    constexpr std::size_t kMaxLength = static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 4);
    if (map == nullptr || text.size() > kMaxLength) {
        MapAsciiOnly(text, out, mapping);
        return;
    }
    auto run = [&](std::size_t capacity, UErrorCode& status) {
        out.resize(capacity);
        const auto srcLength = static_cast<int32_t>(text.size());
        const auto destCapacity = static_cast<int32_t>(capacity);
        return mapping == TMapping::Upper
                   ? ucasemap_utf8ToUpper(map, out.data(), destCapacity, text.data(), srcLength, &status)
                   : ucasemap_utf8FoldCase(map, out.data(), destCapacity, text.data(), srcLength, &status);
    };
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = run(text.size() + text.size() / 4 + 8, status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        length = run(static_cast<std::size_t>(length), status);
    }
    if (U_FAILURE(status) || length < 0) {
        MapAsciiOnly(text, out, mapping);
        return;
    }
    out.resize(static_cast<std::size_t>(length));
}

} // namespace

void TCaseMapper::TMapDeleter::operator()(UCaseMap* map) const {
    ucasemap_close(map);
}

TCaseMapper::TCaseMapper(std::string_view locale) {
    const icu::Locale icuLocale = locale.empty() ? icu::Locale::getDefault() : icu::Locale(std::string(locale).c_str());
    const bool turkic = IsTurkic(icuLocale);
    m_AsciiFast = !turkic;
    UErrorCode status = U_ZERO_ERROR;
    m_Map.reset(
        ucasemap_open(icuLocale.getName(), turkic ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT, &status));
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        m_Map.reset(ucasemap_open("", U_FOLD_CASE_DEFAULT, &status));
        m_AsciiFast = true;
        if (U_FAILURE(status)) {
            m_Map.reset();
        }
    }
}

TCaseMapper::~TCaseMapper() = default;

void TCaseMapper::UpperInto(std::string_view text, std::string& out) const {
    if (!(m_AsciiFast && MapAscii(text, out, TMapping::Upper))) {
        MapWithIcu(m_Map.get(), text, out, TMapping::Upper);
    }
}

void TCaseMapper::FoldInto(std::string_view text, std::string& out) const {
    if (!(m_AsciiFast && MapAscii(text, out, TMapping::Fold))) {
        MapWithIcu(m_Map.get(), text, out, TMapping::Fold);
    }
}

std::string TCaseMapper::Upper(std::string_view text) const {
    std::string out;
    UpperInto(text, out);
    return out;
}

std::string TCaseMapper::Fold(std::string_view text) const {
    std::string out;
    FoldInto(text, out);
    return out;
}

const TCaseMapper& UserCaseMapper() {
    static const TCaseMapper mapper;
    return mapper;
}

} // namespace hv
