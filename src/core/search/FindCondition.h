#pragma once

#include "text/CaseMapping.h"

#include <string>
#include <string_view>

namespace hv {

class THVItem;

// The field of an item a find looks at; the values are those of the setting `Subject`.
enum class TFindSubject : int { Name = 0, URL = 1, Memo = 2 };
// How the field must relate to the search text; the values are those of `FindType`.
enum class TFindType : int { Contains = 0, NotContains = 1, Equals = 2, BeginsWith = 3, EndsWith = 4 };
// Where a find looks; the values are those of `Range`.
enum class TFindRange : int { CurrentFolder = 0, AllFolders = 1, ResultList = 2 };

// The settings of the `Find` table, as the find window reads them when it opens and writes them
// when it closes.
struct TFindOptions {
    int Subject = 0;
    std::string FindText; // the history as a comma text
    int FindType = 0;
    bool DiscriminateCase = false;
    bool IncludeSubFolder = true;
    int Range = 0;
};

class TSettings;

// The find window's options as the Find table holds them.
TFindOptions ReadFindOptions(TSettings& settings);
void WriteFindOptions(TSettings& settings, const TFindOptions& options);

// The choices a stored value stands for; a value outside the choices (a hand-edited store) gives
// the default choice.
TFindSubject SubjectFromSetting(int value);
TFindType FindTypeFromSetting(int value);
TFindRange RangeFromSetting(int value);

// The text of the chosen field of an item.
const std::string& FieldText(const THVItem& item, TFindSubject subject);

// Whether field matches text under type, both already in the case they are compared in. An empty
// field never matches, whatever the type ("does not contain" included). Text is only found
// where a character starts ("ends with" included).
bool MatchText(TFindType type, std::string_view field, std::string_view text);

// A find condition: field, type, search text and case sensitivity. The search text loses every
// character below code 32. Without case sensitivity both the search text and each field are
// upper-cased the locale's way before they are compared.
class TFindCondition {
public:
    TFindCondition(TFindSubject subject, TFindType type, std::string_view text, bool caseSensitive,
                   const TCaseMapper& mapper = UserCaseMapper());

    // The search text as cleaned (in its own case): what goes back to the text box and history.
    const std::string& Text() const { return m_Text; }
    bool IsEmpty() const { return m_Text.empty(); }
    TFindSubject Subject() const { return m_Subject; }
    TFindType Type() const { return m_Type; }
    bool CaseSensitive() const { return m_CaseSensitive; }

    bool Matches(const THVItem& item) const { return MatchesText(FieldText(item, m_Subject)); }
    bool MatchesText(std::string_view field) const;

private:
    TFindSubject m_Subject;
    TFindType m_Type;
    bool m_CaseSensitive;
    const TCaseMapper* m_Mapper;
    std::string m_Text;
    std::string m_Compared;       // m_Text in the compared case
    mutable std::string m_Buffer; // the field in the compared case, reused from item to item
};

} // namespace hv
