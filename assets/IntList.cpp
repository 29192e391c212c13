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
