#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace hv::test {

// A directory of the test's own under the system's temporary directory, removed with all it
// holds when the object goes.
class TTempDir {
public:
    explicit TTempDir(const std::string& prefix = "hv") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a temporary directory from " + pattern);
        }
        m_Path = pattern;
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }

    const std::filesystem::path& Path() const { return m_Path; }
    std::string PathOf(const std::string& relative) const { return (m_Path / relative).string(); }

private:
    std::filesystem::path m_Path;
};

} // namespace hv::test
