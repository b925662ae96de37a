// What every fuzz target shares: a finding for a broken promise, a scratch folder to work in, and
// guard bytes around a caller's buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

// A parser broke what it promises (a value out of its range, a byte changed outside the area a
// load may touch). Reported like a crash: the message, then abort, so the fuzzer keeps the input.
[[noreturn]] void Finding(const std::string& what);

// A fixed message costs nothing while the promise holds; build a longer one only on a finding
// (if (!kept) Finding(...)) where a check runs many times per input.
inline void Expect(bool promiseKept, const char* what) {
    if (!promiseKept) Finding(what);
}
inline void Expect(bool promiseKept, const std::string& what) {
    if (!promiseKept) Finding(what);
}

// Makes a fresh folder under the temporary folder ($TMPDIR; a memory file system keeps millions
// of small writes fast) current for the rest of the process, and sends
// what the programs print to the console and their main log to the null device, so that a run of
// millions of inputs neither floods the terminal nor fills the disk. Returns the folder, with a
// trailing '/'. Call once, from LLVMFuzzerInitialize or the first input.
const std::string& EnterScratchFolder();

// Writes bytes to a file of the scratch folder, replacing it; returns the full path.
std::string WriteScratchFile(const std::string& name, const std::uint8_t* data, std::size_t size);

// A value between two runs of guard bytes: a write past either end of the value changes a guard,
// which AddressSanitizer alone cannot see inside one object.
template <typename T>
struct Guarded {
    static constexpr std::uint8_t kGuard = 0xA5;
    std::array<std::uint8_t, 64> before;
    T value{};
    std::array<std::uint8_t, 64> after;

    Guarded() {
        before.fill(kGuard);
        after.fill(kGuard);
    }
    bool Intact() const {
        for (std::size_t i = 0; i < before.size(); ++i)
            if (before[i] != kGuard || after[i] != kGuard) return false;
        return true;
    }
};

}  // namespace fuzz
