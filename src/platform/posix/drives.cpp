// The drive table. With KELVANE_DRIVES it is the directory that variable
// names, whose entries "c:", "d:", ... lead to the drives' roots; without it,
// the mount table: C: is "/", D: to Z: the other real filesystems in
// ascending order of their mount points.
#include <sys/stat.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

struct drive {
  bool present = false;
  std::string root;
  UINT type = DRIVE_NO_ROOT_DIR;
};

using drive_table = std::array<drive, 26>;

bool is_directory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The root as the path mapping joins it: "/" becomes "" so that "C:\a" is "/a".
std::string root_prefix(const std::string& directory) {
  char* real = realpath(directory.c_str(), nullptr);
  std::string root = real != nullptr ? real : directory;
  std::free(real);
  return root == "/" ? std::string() : root;
}

drive_table table_from_directory(const std::string& directory) {
  drive_table table;
  for (int i = 0; i < 26; ++i) {
    for (char letter : {static_cast<char>('a' + i), static_cast<char>('A' + i)}) {
      const std::string entry = directory + "/" + letter + ":";
      struct stat st;
      if (lstat(entry.c_str(), &st) != 0) continue;
      drive& d = table[i];
      d.present = is_directory(entry);
      d.type = d.present ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR;
      if (d.present) d.root = root_prefix(entry);
      break;
    }
  }
  return table;
}

std::string unescape_mount_field(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3') {
      out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

bool is_pseudo_filesystem(const std::string& type) {
  static const std::set<std::string> pseudo = {
      "proc",     "sysfs",      "devpts",    "devtmpfs",  "mqueue",  "debugfs",         "tracefs",     "securityfs",
      "pstore",   "bpf",        "autofs",    "hugetlbfs", "fusectl", "configfs",        "binfmt_misc", "nsfs",
      "efivarfs", "rpc_pipefs", "selinuxfs", "cgroup",    "cgroup2", "fuse.gvfsd-fuse", "fuse.portal", "nfsd",
      "usbfs",    "devfs"};
  return pseudo.count(type) != 0 || type.rfind("cgroup", 0) == 0;
}

bool device_is_removable(const std::string& major_minor) {
  for (const char* candidate : {"/removable", "/../removable"}) {
    std::ifstream in("/sys/dev/block/" + major_minor + candidate);
    char flag = 0;
    if (in >> flag) return flag == '1';
  }
  return false;
}

UINT type_of_filesystem(const std::string& type, const std::string& major_minor) {
  static const std::set<std::string> local = {"ext2",    "ext3", "ext4",     "xfs",      "btrfs",   "zfs",
                                              "f2fs",    "ntfs", "ntfs3",    "vfat",     "exfat",   "msdos",
                                              "overlay", "jfs",  "reiserfs", "bcachefs", "hfsplus", "fuseblk"};
  static const std::set<std::string> remote = {"nfs",    "nfs4",  "cifs",        "smb3", "smbfs",     "fuse.sshfs",
                                               "sshfs",  "9p",    "afs",         "ceph", "glusterfs", "fuse.glusterfs",
                                               "lustre", "davfs", "fuse.rclone", "coda", "ncpfs"};
  if (local.count(type) != 0) return device_is_removable(major_minor) ? DRIVE_REMOVABLE : DRIVE_FIXED;
  if (remote.count(type) != 0) return DRIVE_REMOTE;
  if (type == "iso9660" || type == "udf") return DRIVE_CDROM;
  if (type == "tmpfs" || type == "ramfs") return DRIVE_RAMDISK;
  return DRIVE_UNKNOWN;
}

drive_table table_from_mounts() {
  struct mount {
    std::string major_minor;
    std::string type;
  };
  // Keyed by mount point: the last line of a point is the mount on top.
  std::map<std::string, mount> mounts;
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, major_minor, root, point, word;
    fields >> id >> parent >> major_minor >> root >> point;
    while (fields >> word && word != "-") {
    }
    std::string type;
    fields >> type;
    if (type.empty() || is_pseudo_filesystem(type)) continue;
    point = unescape_mount_field(point);
    if (!is_directory(point)) continue;
    mounts[point] = mount{major_minor, type};
  }

  drive_table table;
  int next = 'D' - 'A';
  for (const auto& [point, m] : mounts) {
    const int index = point == "/" ? 'C' - 'A' : next++;
    if (index >= 26) continue;
    table[index] = drive{true, point == "/" ? std::string() : point, type_of_filesystem(m.type, m.major_minor)};
  }
  return table;
}

const drive_table& drives() {
  static const drive_table table = [] {
    const char* directory = std::getenv("KELVANE_DRIVES");
    return directory != nullptr ? table_from_directory(directory) : table_from_mounts();
  }();
  return table;
}

int letter_index(char16_t letter) {
  if (letter >= u'a' && letter <= u'z') return letter - u'a';
  if (letter >= u'A' && letter <= u'Z') return letter - u'A';
  return -1;
}

}  // namespace

std::optional<std::string> drive_root(char16_t letter) {
  const int index = letter_index(letter);
  if (index < 0 || !drives()[index].present) return std::nullopt;
  return drives()[index].root;
}

UINT drive_type(char16_t letter) {
  const int index = letter_index(letter);
  return index < 0 ? DRIVE_NO_ROOT_DIR : drives()[index].type;
}

UINT GetDriveTypeW(const char16_t* root_path) {
  if (root_path == nullptr || root_path[0] == 0 || root_path[1] != u':') return DRIVE_NO_ROOT_DIR;
  return drive_type(root_path[0]);
}

}  // namespace platform
