#pragma once
// Reordering a large list in place.
#include <QtGlobal>

#include <utility>
#include <vector>

namespace names {

// Puts list[i] = old list[order[i]] for every i, in place, cycle by cycle: at a million entries a sorted
// copy beside the unsorted list would add to the peak. `order` is a permutation of 0..size-1.
template <typename List>
void permute(List& list, std::vector<qsizetype> order)
{
    using Index = typename List::size_type;
    for (qsizetype start = 0; start < qsizetype(order.size()); ++start) {
        if (order[size_t(start)] == start)
            continue;
        auto held = std::move(list[Index(start)]);
        qsizetype at = start;
        for (;;) {
            const qsizetype from = order[size_t(at)];
            order[size_t(at)] = at;
            if (from == start) {
                list[Index(at)] = std::move(held);
                break;
            }
            list[Index(at)] = std::move(list[Index(from)]);
            at = from;
        }
    }
}

}  // namespace names
