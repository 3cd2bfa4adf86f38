#pragma once

// One fuzz target: HV_FUZZ_TARGET(name) { ... } is the body run for each input (a string_view
// named input). Built with libFuzzer (HV_FUZZ_LIBFUZZER) it is the fuzzer's entry point; in the
// ordinary build it is registered with the replay program, which runs the committed seeds and
// regression inputs through the very same body.
//
// HV_FUZZ_CHECK is the oracle: a property that must hold for every input; a breach aborts, which
// libFuzzer reports as a finding and the replay test as a failure.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace hv::fuzz {

using TFuzzBody = void (*)(std::string_view input);

// Registers a body with the replay program; returns true so it can initialise a static.
bool RegisterTarget(const char* name, TFuzzBody body);

[[noreturn]] inline void Breach(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: oracle breached: %s\n", file, line, condition);
    std::abort();
}

} // namespace hv::fuzz

#define HV_FUZZ_CHECK(condition)                                                                                       \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            ::hv::fuzz::Breach(#condition, __FILE__, __LINE__);                                                        \
        }                                                                                                              \
    } while (false)

#ifdef HV_FUZZ_LIBFUZZER
#define HV_FUZZ_ENTRY(name)                                                                                            \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {                                \
        HvFuzzBody_##name(std::string_view(reinterpret_cast<const char*>(data), size));                                \
        return 0;                                                                                                      \
    }
#else
#define HV_FUZZ_ENTRY(name)                                                                                            \
    [[maybe_unused]] static const bool HvFuzzRegistered_##name = ::hv::fuzz::RegisterTarget(#name, &HvFuzzBody_##name);
#endif

#define HV_FUZZ_TARGET(name)                                                                                           \
    static void HvFuzzBody_##name(std::string_view input);                                                             \
    HV_FUZZ_ENTRY(name)                                                                                                \
    static void HvFuzzBody_##name(std::string_view input)
