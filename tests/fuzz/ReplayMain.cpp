// Runs fuzz targets over committed inputs without libFuzzer: hvfuzz_replay TARGET PATH...
// Each PATH is a file or a directory of files (not descended into further).

#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace hv::fuzz {

namespace {

std::map<std::string, TFuzzBody>& Targets() {
    static std::map<std::string, TFuzzBody> targets;
    return targets;
}

} // namespace

bool RegisterTarget(const char* name, TFuzzBody body) {
    Targets().emplace(name, body);
    return true;
}

} // namespace hv::fuzz

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    const auto& targets = hv::fuzz::Targets();
    if (argc < 2 || targets.find(argv[1]) == targets.end()) {
        std::cerr << "usage: hvfuzz_replay TARGET PATH...\ntargets:";
        for (const auto& [name, body] : targets) {
            std::cerr << ' ' << name;
        }
        std::cerr << '\n';
        return 2;
    }
    const hv::fuzz::TFuzzBody body = targets.at(argv[1]);
    std::vector<fs::path> files;
    for (int i = 2; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const auto& entry : fs::directory_iterator(argv[i])) {
                if (entry.is_regular_file()) {
                    files.push_back(entry.path());
                }
            }
        } else if (fs::exists(argv[i], ec)) {
            files.emplace_back(argv[i]);
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::cout << "replay " << file.filename().string() << " (" << bytes.size() << " bytes)" << std::endl;
        body(bytes);
    }
    std::cout << argv[1] << ": " << files.size() << " inputs replayed" << std::endl;
    return 0;
}
