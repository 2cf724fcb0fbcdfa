// Large buffers whose pages the system zero-fills when they are first touched (calloc), so the
// part of a buffer that has not been used yet takes no memory. Any thread; counts in elements.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <type_traits>

namespace quillet::audio {

struct FreeMemory {
    void operator()(void* data) const { std::free(data); }
};

template <class T> using ZeroedArray = std::unique_ptr<T[], FreeMemory>;

// `count` elements of a trivial type, all zero.
template <class T> [[nodiscard]] ZeroedArray<T> MakeZeroedArray(size_t count)
{
    static_assert(std::is_trivial_v<T>);
    T* data = static_cast<T*>(std::calloc(count, sizeof(T)));
    if (!data)
        throw std::bad_alloc();
    return ZeroedArray<T>(data);
}

} // namespace quillet::audio
