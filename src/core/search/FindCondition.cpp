#include "search/FindCondition.h"

#include "model/HVItems.h"
#include "settings/Settings.h"
#include "text/TextUtil.h"
#include "text/Utf8.h"

namespace hv {

TFindOptions ReadFindOptions(TSettings& settings) {
    TFindOptions options;
    options.Subject = settings.Get(opt::Find::Subject);
    options.FindText = settings.Get(opt::Find::FindText);
    options.FindType = settings.Get(opt::Find::FindType);
    options.DiscriminateCase = settings.Get(opt::Find::DiscriminateCase);
    options.IncludeSubFolder = settings.Get(opt::Find::IncludeSubFolder);
    options.Range = settings.Get(opt::Find::Range);
    return options;
}

void WriteFindOptions(TSettings& settings, const TFindOptions& options) {
    settings.Set(opt::Find::Subject, options.Subject);
    settings.Set(opt::Find::FindText, options.FindText);
    settings.Set(opt::Find::FindType, options.FindType);
    settings.Set(opt::Find::DiscriminateCase, options.DiscriminateCase);
    settings.Set(opt::Find::IncludeSubFolder, options.IncludeSubFolder);
    settings.Set(opt::Find::Range, options.Range);
}

namespace {

// Whether text occurs in field starting where a character starts. Valid UTF-8 only matches
// there anyway; the test guards texts that begin with a stray continuation byte.
bool ContainsAtBoundary(std::string_view field, std::string_view text) {
    for (std::size_t at = field.find(text); at != std::string_view::npos; at = field.find(text, at + 1)) {
        if (at == field.size() || !IsUtf8Continuation(field[at])) {
            return true;
        }
    }
    return false;
}

} // namespace

TFindSubject SubjectFromSetting(int value) {
    return value >= 0 && value <= 2 ? static_cast<TFindSubject>(value) : TFindSubject::Name;
}

TFindType FindTypeFromSetting(int value) {
    return value >= 0 && value <= 4 ? static_cast<TFindType>(value) : TFindType::Contains;
}

TFindRange RangeFromSetting(int value) {
    return value >= 0 && value <= 2 ? static_cast<TFindRange>(value) : TFindRange::CurrentFolder;
}

const std::string& FieldText(const THVItem& item, TFindSubject subject) {
    switch (subject) {
    case TFindSubject::URL:
        return item.GetURL();
    case TFindSubject::Memo:
        return item.GetMemo();
    case TFindSubject::Name:
        break;
    }
    return item.GetName();
}

bool MatchText(TFindType type, std::string_view field, std::string_view text) {
    if (field.empty()) {
        return false;
    }
    switch (type) {
    case TFindType::Contains:
        return ContainsAtBoundary(field, text);
    case TFindType::NotContains:
        return !ContainsAtBoundary(field, text);
    case TFindType::Equals:
        return field == text;
    case TFindType::BeginsWith:
        return field.starts_with(text);
    case TFindType::EndsWith:
        return field.ends_with(text) && (text.empty() || !IsUtf8Continuation(field[field.size() - text.size()]));
    }
    return false;
}

TFindCondition::TFindCondition(TFindSubject subject, TFindType type, std::string_view text, bool caseSensitive,
                               const TCaseMapper& mapper)
    : m_Subject(subject), m_Type(type), m_CaseSensitive(caseSensitive), m_Mapper(&mapper),
      m_Text(StripControlChars(text)) {
    if (m_CaseSensitive) {
        m_Compared = m_Text;
    } else {
        m_Mapper->UpperInto(m_Text, m_Compared);
    }
}

bool TFindCondition::MatchesText(std::string_view field) const {
    if (field.empty()) {
        return false;
    }
    if (m_CaseSensitive) {
        return MatchText(m_Type, field, m_Compared);
    }
    m_Mapper->UpperInto(field, m_Buffer);
    return MatchText(m_Type, m_Buffer, m_Compared);
}

} // namespace hv
