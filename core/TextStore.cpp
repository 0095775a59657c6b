// The byte store of a document's record texts.
#include "core/TextStore.h"

#include <algorithm>
#include <bit>

char* TTextStore::TakeChunk(size_t size, uint32_t& capacity) {
  if (size == 0) {
    capacity = 0;
    return nullptr;
  }
  const int cls = std::max(kSmallestClass, static_cast<int>(std::bit_width(size - 1)));
  if (cls > kLargestClass) {  // larger than any value a user types: exactly its size
    char* chunk = Room(size);
    Commit(size);
    capacity = static_cast<uint32_t>(size);
    return chunk;
  }
  const size_t classSize = size_t{1} << cls;
  capacity = static_cast<uint32_t>(classSize);
  std::vector<char*>& list = free_[static_cast<size_t>(cls)];
  if (!list.empty()) {
    char* chunk = list.back();
    list.pop_back();
    return chunk;
  }
  char* chunk = Room(classSize);
  Commit(classSize);
  return chunk;
}

void TTextStore::ReleaseChunk(const char* chunk, uint32_t capacity) {
  if (chunk == nullptr || capacity < (1u << kSmallestClass)) return;  // too small to matter
  const int cls = std::min(kLargestClass, static_cast<int>(std::bit_width(capacity)) - 1);
  free_[static_cast<size_t>(cls)].push_back(const_cast<char*>(chunk));
}

void TTextStore::Clear() {
  blocks_.clear();
  next_ = nullptr;
  left_ = 0;
  reserve_ = 0;
  for (std::vector<char*>& list : free_) list.clear();
}

void TTextStore::NewBlock(size_t size) {
  const size_t blockSize = std::max({kBlockSize, size, reserve_});
  reserve_ = 0;
  blocks_.push_back(std::unique_ptr<char[]>(new char[blockSize]));
  next_ = blocks_.back().get();
  left_ = blockSize;
}
