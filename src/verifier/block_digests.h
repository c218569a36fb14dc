#pragma once

#include <cstdint>
#include <vector>

#include "platform/platform.h"

// What the comparisons of one size learned about the blocks of each file: a
// digest of every block read, so that a later comparison can know that two
// blocks differ without reading them again. A group of files that differ
// early is compared with itself over and over; without this, every
// comparison would read a block of each file anew.
struct block_digest {
  std::uint32_t length;
  std::uint64_t sample;
};

// Digests differ only when the blocks do; equal digests prove nothing.
bool digests_differ(const block_digest& a, const block_digest& b);

// A digest of every byte of a short block, of its ends and of a spread of
// words across a long one.
block_digest digest_of(const unsigned char* block, std::uint32_t length);

// The digests known for an open file's blocks, in order, to be added to as
// blocks are read; nullptr when the file cannot be told apart from others.
// They are forgotten when the file's identity, size or change time is not
// what it was when they were taken, and when the comparisons move on to
// another size.
std::vector<block_digest>* known_blocks(platform::HANDLE file, std::uint64_t size);
