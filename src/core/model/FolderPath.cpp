#include "model/FolderPath.h"

#include "model/HVFolder.h"
#include "text/CaseMapping.h"

#include <algorithm>

namespace hv {

std::string FolderPath(const THVFolder& folder) {
    std::vector<const std::string*> names;
    std::size_t length = 0;
    for (const THVFolder* f = &folder; f != nullptr; f = f->Parent()) {
        names.push_back(&f->Name());
        length += f->Name().size() + 1;
    }
    std::string path;
    path.reserve(length);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (it != names.rbegin()) {
            path += kPathDelimiter;
        }
        path += **it;
    }
    return path;
}

THVFolder* FolderByPath(THVFolder& root, std::string_view path) {
    const TCaseMapper& mapper = UserCaseMapper();
    std::string wanted;
    std::string name;
    THVFolder* folder = &root;
    std::size_t start = path.find(kPathDelimiter); // the root's caption is not compared
    while (start != std::string_view::npos) {
        const std::size_t end = path.find(kPathDelimiter, start + 1);
        const std::string_view element =
            path.substr(start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1);
        THVFolder* exact = nullptr;
        THVFolder* similar = nullptr;
        for (const auto& child : folder->Children()) {
            if (child->Name() == element) {
                exact = child.get();
                break;
            }
            if (similar == nullptr) {
                if (wanted.empty()) {
                    mapper.FoldInto(element, wanted);
                }
                mapper.FoldInto(child->Name(), name);
                if (name == wanted) {
                    similar = child.get();
                }
            }
        }
        folder = exact != nullptr ? exact : similar;
        if (folder == nullptr) {
            return nullptr;
        }
        wanted.clear();
        start = end;
    }
    return folder;
}

const std::string& TPathTracker::Enter(const THVFolder& folder, int level) {
    const auto depth = static_cast<std::size_t>(std::max(level, 0));
    if (depth == 0) {
        m_Path = FolderPath(folder);
        m_Ends.assign(1, m_Path.size());
        return m_Path;
    }
    m_Ends.resize(std::min(m_Ends.size(), depth));
    m_Path.resize(m_Ends.back());
    m_Path += kPathDelimiter;
    m_Path += folder.Name();
    m_Ends.push_back(m_Path.size());
    return m_Path;
}

} // namespace hv
