// SPDX-FileCopyrightText: 2026 The V.O.R.N. VOZID authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// One fuzz target a file: `VORN_FUZZ_TARGET(name) { ... }` is its body, run on `data` and `size`.
//
// Built for libFuzzer (VORN_LIBFUZZER defined, scripts/fuzz.sh), the body is the program's
// LLVMFuzzerTestOneInput. Otherwise every target goes into one replay program (replay_main.cpp)
// that feeds it the checked-in corpus and regression inputs, under the tests.
//
// A body returns 0. It catches the readers' own vorn::Error (a refused file is the expected
// answer to most inputs) and nothing else: any other exception, a crash, a hang or a failed
// check is a fault.

#include <cstddef>
#include <cstdint>

namespace vorn::fuzz {

using TargetFunction = int (*)(const std::uint8_t* data, std::size_t size);

// Called from the targets' static initialisers in the replay program.
bool registerTarget(const char* name, TargetFunction function);

}  // namespace vorn::fuzz

#ifdef VORN_LIBFUZZER
#define VORN_FUZZ_TARGET(name) \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#else
#define VORN_FUZZ_TARGET(name)                                          \
    static int fuzz_##name(const std::uint8_t* data, std::size_t size); \
    [[maybe_unused]] static const bool registered_##name =              \
        ::vorn::fuzz::registerTarget(#name, fuzz_##name);               \
    static int fuzz_##name(const std::uint8_t* data, std::size_t size)
#endif
