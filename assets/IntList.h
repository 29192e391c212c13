#pragma once
// IntList: the growable int array behind each vertex's face list. It grows by six entries at a
// time (a vertex of a closed mesh is rarely shared by more than six faces), never shrinks.

#include <memory>

struct IntList {
    std::unique_ptr<int[]> items;
    int capacity = 6;
    int count = 0;

    IntList() : items(std::make_unique<int[]>(6)) {}
    IntList(const IntList& other);
    IntList(IntList&&) noexcept = default;
    IntList& operator=(const IntList& other);
    IntList& operator=(IntList&&) noexcept = default;

    void push(int value);
    int operator[](int index) const { return items[index]; }
};
