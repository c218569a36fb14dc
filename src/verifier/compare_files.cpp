#include "verifier/compare_files.h"

#include "output/print_console.h"
#include "platform/platform.h"
#include "verifier/block_digests.h"

namespace {

platform::HANDLE open_for_compare(const std::u16string& path) {
  return platform::CreateFileW(path.c_str(), platform::GENERIC_READ, 0, nullptr, platform::OPEN_EXISTING,
                               platform::FILE_ATTRIBUTE_NORMAL, nullptr);
}

void release(platform::HANDLE h1, platform::HANDLE h2, void* buf1, void* buf2) {
  platform::free(buf1);
  platform::free(buf2);
  if (h1 != platform::INVALID_HANDLE_VALUE) platform::CloseHandle(h1);
  if (h2 != platform::INVALID_HANDLE_VALUE) platform::CloseHandle(h2);
}

void remember(std::vector<block_digest>* known, std::size_t block, const void* buffer, platform::DWORD length) {
  if (known != nullptr && known->size() == block) {
    known->push_back(digest_of(static_cast<const unsigned char*>(buffer), length));
  }
}

// How far the comparison has got, as a share of the recorded size; 0 of 0
// bytes is all of them.
void write_progress(std::uint64_t total, std::uint64_t size) {
  const double percentage = size == 0 ? 100.0 : static_cast<double>(total) / static_cast<double>(size) * 100.0;
  platform::wprintf(u"comparing... %3.0f%%\r", percentage);
}

}  // namespace

bool compare_files(std::u16string path1, std::u16string path2, std::uint64_t size) {
  const platform::HANDLE h1 = open_for_compare(path1);
  const platform::HANDLE h2 = open_for_compare(path2);
  void* buf1 = platform::malloc(BUF_SIZE);
  void* buf2 = platform::malloc(BUF_SIZE);
  std::uint64_t total = 0;
  bool result = true;

  if (h1 == platform::INVALID_HANDLE_VALUE) {
    print_console(u"cannot open file " + path1 + u"\n");
    release(h1, h2, buf1, buf2);
    return false;
  }
  if (h2 == platform::INVALID_HANDLE_VALUE) {
    print_console(u"cannot open file " + path2 + u"\n");
    release(h1, h2, buf1, buf2);
    return false;
  }
  if (buf1 == nullptr || buf2 == nullptr) {
    print_console(u"not enough memory to compare files\n");
    release(h1, h2, buf1, buf2);
    return false;
  }

  std::vector<block_digest>* known1 = known_blocks(h1, size);
  std::vector<block_digest>* known2 = known_blocks(h2, size);
  platform::DWORD red1 = 0;
  platform::DWORD red2 = 0;
  for (std::size_t block = 0;; ++block) {
    // Blocks read by earlier comparisons that are known to differ need not
    // be read again: the outcome and the progress text are what reading them
    // would give.
    if (known1 != nullptr && known2 != nullptr && block < known1->size() && block < known2->size() &&
        digests_differ((*known1)[block], (*known2)[block])) {
      if ((*known1)[block].length == (*known2)[block].length) {
        total += (*known1)[block].length;
        write_progress(total, size);
      }
      result = false;
      break;
    }
    // A failed read, or reads of unequal length (one file changed since the
    // walk), never shows the two files to be identical; a failed read is
    // named, so that a copy it hides is not taken for no copy at all.
    if (platform::ReadFile(h1, buf1, BUF_SIZE, &red1, nullptr) == platform::FALSE) {
      print_console(u"cannot read file " + path1 + u"\n");
      result = false;
      break;
    }
    if (platform::ReadFile(h2, buf2, BUF_SIZE, &red2, nullptr) == platform::FALSE) {
      print_console(u"cannot read file " + path2 + u"\n");
      result = false;
      break;
    }
    remember(known1, block, buf1, red1);
    remember(known2, block, buf2, red2);
    if (red1 != red2) {
      result = false;
      break;
    }
    total += red1;
    write_progress(total, size);
    if (platform::memcmp(buf1, buf2, red1) != 0) {
      result = false;
      break;
    }
    if (red1 != BUF_SIZE) break;
  }

  release(h1, h2, buf1, buf2);
  return result;
}
