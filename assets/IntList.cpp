#include "assets/IntList.h"

#include <algorithm>

void IntList::push(int value) {
    if (count == capacity) {
        const int grown = capacity + 6;
        std::unique_ptr<int[]> larger = std::make_unique<int[]>(grown);
        std::copy(items.get(), items.get() + count, larger.get());
        items = std::move(larger);
        capacity = grown;
    }
    items[count] = value;
    count += 1;
}

IntList::IntList(const IntList& other)
    : items(std::make_unique<int[]>(static_cast<size_t>(other.capacity))), capacity(other.capacity),
      count(other.count) {
    std::copy(other.items.get(), other.items.get() + count, items.get());
}

IntList& IntList::operator=(const IntList& other) {
    if (this != &other) {
        if (capacity < other.count) {
            items = std::make_unique<int[]>(static_cast<size_t>(other.capacity));
            capacity = other.capacity;
        }
        std::copy(other.items.get(), other.items.get() + other.count, items.get());
        count = other.count;
    }
    return *this;
}
