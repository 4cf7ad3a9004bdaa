#pragma once
// Room for a pane buffer that grows a few pixels at a time, as the views do
// while the splitter moves: when a size passes the capacity, half as much
// again is reserved, so the next steps neither allocate nor touch a whole
// fresh buffer.

#include <cstddef>
#include <vector>

namespace mok {

template <typename T>
void ReserveWithRoom(std::vector<T>& buffer, std::size_t count) {
  if (count > buffer.capacity()) buffer.reserve(count + count / 2);
}

}  // namespace mok
