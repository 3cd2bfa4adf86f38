// The registry file and the settings start-up over it: what is read formats to a file that reads
// back to the same text, and the settings tables start from any registry without failing.

#include "Errors.h"
#include "FuzzTarget.h"
#include "settings/FontQuery.h"
#include "settings/RegFile.h"
#include "settings/RegistryStore.h"
#include "settings/Settings.h"

namespace {

class TNoFonts final : public hv::TFontQuery {
public:
    bool IsInstalled(std::string_view) const override { return false; }
    std::string DefaultUiFamily() const override { return "Sans"; }
};

} // namespace

HV_FUZZ_TARGET(registry) {
    using namespace hv;
    TRegistryTree tree;
    try {
        tree = ParseRegFile(input);
    } catch (const ERegFileError&) {
        return;
    }
    const std::string formatted = FormatRegFile(tree);
    HV_FUZZ_CHECK(FormatRegFile(ParseRegFile(formatted)) == formatted);

    // The program starts from whatever the store holds: no exception may leave the start-up.
    TMemoryRegistryStore store(std::move(tree));
    TNoFonts fonts;
    TSettings settings(store, &fonts);
}
