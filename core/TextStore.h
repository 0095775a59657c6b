// The byte store of a document's record texts: large blocks handed out front
// to back, freed all at once. Chunks that records give up are kept by size and
// handed out again, so editing values for a long time reuses room rather than
// growing the store.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

// Under AddressSanitizer the store poisons every chunk it is given back, and a
// record's change always moves its texts to a new chunk: a view of a value
// kept across its record's change then reads poisoned memory and is reported,
// instead of quietly reading whatever the chunk holds next.
#if defined(__SANITIZE_ADDRESS__)
#define VORNIK_CHECK_TEXT_VIEWS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VORNIK_CHECK_TEXT_VIEWS 1
#endif
#endif
#ifndef VORNIK_CHECK_TEXT_VIEWS
#define VORNIK_CHECK_TEXT_VIEWS 0
#endif

class TTextStore {
 public:
  TTextStore() = default;
  TTextStore(const TTextStore&) = delete;
  TTextStore& operator=(const TTextStore&) = delete;
  ~TTextStore() { Clear(); }

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
  // Changes with every Clear: a chunk taken under another generation is gone.
  uint64_t Generation() const { return generation_; }
  // Bytes of the blocks the store holds.
  size_t Bytes() const { return bytes_; }

 private:
  static constexpr size_t kBlockSize = 64 * 1024;
  static constexpr int kSmallestClass = 3;  // chunks of 8, 16, 32, ... bytes
  static constexpr int kLargestClass = 14;  // ... up to 16 KiB

  void NewBlock(size_t size);

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::vector<size_t> blockSizes_;
  size_t bytes_ = 0;
  uint64_t generation_ = 0;
  char* next_ = nullptr;
  size_t left_ = 0;
  size_t reserve_ = 0;
  // Given-back chunks by class: a chunk in class k holds at least 2^k bytes.
  std::array<std::vector<char*>, kLargestClass + 1> free_;
#if VORNIK_CHECK_TEXT_VIEWS
  // Given-back chunks wait here, poisoned, before they are handed out again,
  // so that a view kept across a change still finds its chunk poisoned.
  static constexpr size_t kQuarantineBytes = 256 * 1024;
  std::deque<std::pair<char*, uint32_t>> quarantine_;
  size_t quarantineBytes_ = 0;
#endif
  void Free(char* chunk, uint32_t capacity);
};
