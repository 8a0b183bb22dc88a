// The bits of one value read as another type of the same size (std::bit_cast), for
// every standard library we build with: the browser build's has no std::bit_cast, but
// its compiler has the builtin that std::bit_cast is made of, as g++ and clang do.
#pragma once

namespace bits {

template <class To, class From>
constexpr To cast(const From& from) noexcept
{
    static_assert(sizeof(To) == sizeof(From), "a bit cast keeps the size");
    return __builtin_bit_cast(To, from);
}

} // namespace bits
