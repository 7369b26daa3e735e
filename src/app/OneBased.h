#pragma once

#include <array>
#include <cstddef>

namespace varenta {

// Throws VError(err::SubscriptOutOfRange) naming the index and the range it missed.
[[noreturn]] void ThrowIndexOutOfRange(int index, int last);

// An array of N elements numbered 1..N, the way the program numbers scales, items, sections,
// bands and table entries: a[1] is the first element. An index outside 1..N throws instead of
// reaching memory past the array, so a damaged table becomes an error message, never a stray
// read or write.
template <typename T, int N> class OneBased {
    static_assert(N > 0);

public:
    using value_type = T;

    constexpr T& operator[](int index) { return items_[Slot(index)]; }
    constexpr const T& operator[](int index) const { return items_[Slot(index)]; }

    static constexpr int size() { return N; }
    void fill(const T& value) { items_.fill(value); }

    T* data() { return items_.data(); }
    const T* data() const { return items_.data(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    bool operator==(const OneBased&) const = default;

private:
    static constexpr std::size_t Slot(int index) {
        if (index < 1 || index > N)
            ThrowIndexOutOfRange(index, N);
        return std::size_t(index - 1);
    }

    std::array<T, N> items_{};
};

} // namespace varenta
