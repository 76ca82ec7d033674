#pragma once
#include <cstddef>
#include <vector>

// Asks the kernel for the whole pages of [data, data + bytes) at once, before
// they are written: one call instead of a page fault per page, which on a
// virtual machine can cost more than filling the page. Does nothing where
// the system cannot, and no failure matters: the pages then come one by one.
void prefault(void* data, size_t bytes);

// Reserves room for n elements, its pages prefaulted.
template <class T>
void reserve_prefaulted(std::vector<T>& v, size_t n)
{
    v.reserve(n);
    prefault(v.data(), v.capacity() * sizeof(T));
}
