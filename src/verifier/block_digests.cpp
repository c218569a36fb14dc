#include "verifier/block_digests.h"

#include <cstring>
#include <map>
#include <tuple>

namespace {

constexpr std::uint32_t WHOLE_UP_TO = 4096;
constexpr std::uint32_t END_BYTES = 512;
constexpr std::uint32_t SPREAD_WORDS = 512;

struct file_state {
  std::uint64_t size;
  std::uint64_t change_time;
  std::vector<block_digest> blocks;
};

using file_key = std::tuple<platform::DWORD, platform::DWORD, platform::DWORD>;

struct size_state {
  std::uint64_t size = 0;
  std::map<file_key, file_state> files;
};

size_state& known() {
  static size_state state;
  return state;
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t word) {
  hash ^= word;
  hash *= 0x9E3779B97F4A7C15ULL;
  return hash ^ (hash >> 29);
}

std::uint64_t mix_bytes(std::uint64_t hash, const unsigned char* bytes, std::uint32_t count) {
  std::uint32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes + i, 8);
    hash = mix(hash, word);
  }
  for (; i < count; ++i) hash = mix(hash, bytes[i]);
  return hash;
}

}  // namespace

bool digests_differ(const block_digest& a, const block_digest& b) {
  return a.length != b.length || a.sample != b.sample;
}

block_digest digest_of(const unsigned char* block, std::uint32_t length) {
  std::uint64_t hash = mix(0, length);
  if (length <= WHOLE_UP_TO) return block_digest{length, mix_bytes(hash, block, length)};
  hash = mix_bytes(hash, block, END_BYTES);
  hash = mix_bytes(hash, block + length - END_BYTES, END_BYTES);
  const std::uint32_t stride = (length - 8) / SPREAD_WORDS;
  for (std::uint32_t i = 0; i < SPREAD_WORDS; ++i) hash = mix_bytes(hash, block + i * stride, 8);
  return block_digest{length, hash};
}

std::vector<block_digest>* known_blocks(platform::HANDLE file, std::uint64_t size) {
  size_state& state = known();
  if (state.size != size) {
    state.files.clear();
    state.size = size;
  }
  platform::BY_HANDLE_FILE_INFORMATION info;
  if (platform::GetFileInformationByHandle(file, &info) == platform::FALSE) return nullptr;
  const std::uint64_t current_size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
  const std::uint64_t change_time =
      (std::uint64_t{info.ftLastWriteTime.dwHighDateTime} << 32) | info.ftLastWriteTime.dwLowDateTime;
  file_state& entry = state.files[file_key{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow}];
  if (entry.size != current_size || entry.change_time != change_time) {
    entry = file_state{current_size, change_time, {}};
  }
  return &entry.blocks;
}
