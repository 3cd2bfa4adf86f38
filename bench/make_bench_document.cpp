// Writes the generated benchmark document (100,000 items in 1,000 folders) to a file, so that
// whole processes can be timed on it.
//
//   make_bench_document OUT.hv [--utf8]

#include "GenerateDocument.h"
#include "document/DocumentFile.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--utf8") != 0)) {
        std::fprintf(stderr, "usage: make_bench_document OUT.hv [--utf8]\n");
        return 2;
    }
    try {
        const auto root = hv::bench::GenerateDocument();
        hv::SaveDocumentFile(argv[1], *root, {}, argc == 3);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
