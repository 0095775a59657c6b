// The byte store of a document's record texts: large blocks handed out front
// to back, freed all at once. Chunks that records give up are kept by size and
// handed out again, so editing values for a long time reuses room rather than
// growing the store.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class TTextStore {
 public:
  // Room for at least size bytes at the end of the current block: the caller
  // writes there and then keeps the first bytes with Commit.
  char* Room(size_t size) {
    if (left_ < size) NewBlock(size);
    return next_;
  }
  void Commit(size_t used) {
    next_ += used;
    left_ -= used;
  }
  // The next block, when one is needed, holds at least size bytes.
  void Reserve(size_t size) { reserve_ = size; }

  // A chunk of at least size bytes; capacity receives its usable size.
  char* TakeChunk(size_t size, uint32_t& capacity);
  // Gives back a chunk of capacity bytes (nothing for a null chunk).
  void ReleaseChunk(const char* chunk, uint32_t capacity);

  // Frees every block: every chunk handed out is gone.
  void Clear();

 private:
  static constexpr size_t kBlockSize = 64 * 1024;
  static constexpr int kSmallestClass = 3;  // chunks of 8, 16, 32, ... bytes
  static constexpr int kLargestClass = 14;  // ... up to 16 KiB

  void NewBlock(size_t size);

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  size_t left_ = 0;
  size_t reserve_ = 0;
  // Given-back chunks by class: a chunk in class k holds at least 2^k bytes.
  std::array<std::vector<char*>, kLargestClass + 1> free_;
};
