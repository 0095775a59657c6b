// The import's decoded input: the encoding found (byte order mark, UTF-16
// patterns, valid UTF-8, else Windows-1252) and the text read a piece at a
// time.
#include <algorithm>
#include <cstring>

#include "core/ImportRows.h"

namespace import_internal {

namespace {

// UTF-16 without a byte order mark: ASCII text has a zero in every other byte.
TTextEncoding GuessUtf16(const uint8_t* bytes, size_t count) {
  const size_t pairs = std::min<size_t>(count, 1024) / 2;
  if (pairs < 2) return TTextEncoding::Guess;
  size_t zeroEven = 0, zeroOdd = 0;
  for (size_t i = 0; i < pairs; ++i) {
    zeroEven += bytes[2 * i] == 0;
    zeroOdd += bytes[2 * i + 1] == 0;
  }
  // Mostly ASCII, so zeros on one side; a few on the other (U+xx00) are fine.
  if (zeroOdd * 2 >= pairs && zeroEven * 8 <= zeroOdd) return TTextEncoding::Utf16LE;
  if (zeroEven * 2 >= pairs && zeroOdd * 8 <= zeroEven) return TTextEncoding::Utf16BE;
  return TTextEncoding::Guess;
}

}  // namespace

TDecodedInput::TDecodedInput(TStream& in, TTextEncoding encoding)
    : in_(in), decoder_(TTextEncoding::Utf8) {
  size_ = in.Size();
  in.Seek(0);
  raw_.resize(kPiece);
  size_t first = 0;  // a whole piece, however few bytes a read gives
  for (size_t got = 1; got > 0 && first < raw_.size();) {
    got = in.Read(raw_.data() + first, raw_.size() - first);
    first += got;
  }
  size_t mark = 0;
  const TTextEncoding marked = EncodingOfByteOrderMark(raw_.data(), first, mark);
  if (first == mark) throw EListDBError("The file is empty");
  if (encoding == TTextEncoding::Guess) encoding = marked;
  if (encoding == TTextEncoding::Guess) encoding = GuessUtf16(raw_.data() + mark, first - mark);
  if (encoding == TTextEncoding::Guess) {
    // Valid UTF-8 all through, or else Windows-1252.
    bool valid = true, ended = false;
    size_t have = first;
    while (valid) {
      if (!ended && have < raw_.size()) {
        const size_t got = in.Read(raw_.data() + have, raw_.size() - have);
        have += got;
        ended = got == 0;
        continue;
      }
      valid = IsValidUtf8(raw_.data(), have, ended);
      if (ended) break;
      const size_t carried = Utf8UnfinishedTail(raw_.data(), have);
      std::copy(raw_.begin() + static_cast<std::ptrdiff_t>(have - carried),
                raw_.begin() + static_cast<std::ptrdiff_t>(have), raw_.begin());
      have = carried;
    }
    encoding = valid ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
  }
  decoder_ = TTextDecoder(encoding);
  // A byte order mark is skipped only when it names the encoding read.
  const bool skipMark = mark > 0 && marked == encoding;
  in.Seek(skipMark ? mark : 0);
  read_ = skipMark ? mark : 0;
  Fill(1);  // refuses what is not text at once
}

size_t TDecodedInput::Fill(size_t n) {
  while (end_ - position_ < n && !ended_) {
    if (keptRow_) keptRow_->OwnViews();
    if (position_ > 0) {
      std::memmove(buffer_.data(), buffer_.data() + position_, end_ - position_);
      base_ += position_;
      end_ -= position_;
      position_ = 0;
    }
    const size_t got = in_.Read(raw_.data(), raw_.size());
    read_ += got;
    ended_ = got == 0;
    const size_t room = end_ + TTextDecoder::Room(got);
    if (buffer_.size() < room) buffer_.resize(std::max(room, 2 * buffer_.size()));
    end_ += decoder_.Decode(raw_.data(), got, ended_, buffer_.data() + end_);
  }
  return end_ - position_;
}

}  // namespace import_internal
