// Command lines: a split program is never empty and never starts with a blank, and the pieces
// come from the text.

#include "FuzzTarget.h"
#include "launch/CommandLine.h"

HV_FUZZ_TARGET(command_line) {
    using namespace hv;
    (void)IsWebAddress(input);
    if (const auto parts = SplitCommandLine(input)) {
        HV_FUZZ_CHECK(!parts->Program.empty());
        HV_FUZZ_CHECK(parts->Program.size() + parts->Parameters.size() <= input.size());
    }
}
