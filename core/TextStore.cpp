// The byte store of a document's record texts.
#include "core/TextStore.h"

#include <algorithm>
#include <bit>

#if VORNIK_CHECK_TEXT_VIEWS
#include <sanitizer/asan_interface.h>
#define POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define POISON(p, n) ((void)(p), (void)(n))
#define UNPOISON(p, n) ((void)(p), (void)(n))
#endif

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
    UNPOISON(chunk, classSize);
    return chunk;
  }
  char* chunk = Room(classSize);
  Commit(classSize);
  return chunk;
}

void TTextStore::ReleaseChunk(const char* chunk, uint32_t capacity) {
  if (chunk == nullptr || capacity < (1u << kSmallestClass)) return;  // too small to matter
  POISON(chunk, capacity);
#if VORNIK_CHECK_TEXT_VIEWS
  quarantine_.emplace_back(const_cast<char*>(chunk), capacity);
  quarantineBytes_ += capacity;
  while (quarantineBytes_ > kQuarantineBytes) {
    const auto [oldest, size] = quarantine_.front();
    quarantine_.pop_front();
    quarantineBytes_ -= size;
    Free(oldest, size);
  }
#else
  Free(const_cast<char*>(chunk), capacity);
#endif
}

void TTextStore::Free(char* chunk, uint32_t capacity) {
  const int cls = std::min(kLargestClass, static_cast<int>(std::bit_width(capacity)) - 1);
  free_[static_cast<size_t>(cls)].push_back(chunk);
}

void TTextStore::Clear() {
  for (size_t i = 0; i < blocks_.size(); ++i) UNPOISON(blocks_[i].get(), blockSizes_[i]);
  blocks_.clear();
  blockSizes_.clear();
  bytes_ = 0;
  ++generation_;
  next_ = nullptr;
  left_ = 0;
  reserve_ = 0;
  for (std::vector<char*>& list : free_) list.clear();
#if VORNIK_CHECK_TEXT_VIEWS
  quarantine_.clear();
  quarantineBytes_ = 0;
#endif
}

void TTextStore::NewBlock(size_t size) {
  const size_t blockSize = std::max({kBlockSize, size, reserve_});
  reserve_ = 0;
  blocks_.push_back(std::unique_ptr<char[]>(new char[blockSize]));
  blockSizes_.push_back(blockSize);
  bytes_ += blockSize;
  next_ = blocks_.back().get();
  left_ = blockSize;
}
