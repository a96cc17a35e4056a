#pragma once

// Debian's emscripten 3.1.6 ships the C++ library of LLVM 13, whose <bit> lacks C++20's
// std::bit_cast; its compiler has the builtin behind it. Included before every file of the
// WebAssembly build (see CMakeLists.txt), and a no-op with a library that has it.

#include <bit>

#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From> constexpr To bit_cast(const From& from) noexcept {
    static_assert(sizeof(To) == sizeof(From), "bit_cast needs types of one size");
    return __builtin_bit_cast(To, from);
}
} // namespace std
#endif
