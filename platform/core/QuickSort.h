// The framework's list quicksort, shared by the 8-bit and the wide string
// lists. The pivot is followed by index as items move, so the comparison
// always sees the list as it stands; the order of equal items is the
// framework's, which sorted lists and their callers rely on.
#pragma once

#include "platform/core/Types.h"

// Sorts the items Left..Right: compare(a, b) is negative, zero or positive as
// item a sorts before, with or after item b; exchange(a, b) swaps two items.
template <typename Compare, typename Exchange>
void FrameworkQuickSort(Integer Left, Integer Right, const Compare& compare, const Exchange& exchange) {
    Integer i;
    do {
        i = Left;
        Integer j = Right, pivot = (Left + Right) / 2;
        do {
            while (compare(i, pivot) < 0)
                ++i;
            while (compare(j, pivot) > 0)
                --j;
            if (i <= j) {
                exchange(i, j);
                if (pivot == i)
                    pivot = j;
                else if (pivot == j)
                    pivot = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (Left < j) FrameworkQuickSort(Left, j, compare, exchange);
        Left = i;
    } while (i < Right);
}
