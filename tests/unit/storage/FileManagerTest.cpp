#include "platform/base/FileManager.h"

#include <errno.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "FileSizeLimit.h"
#include "ScopedEnvironment.h"
#include "platform/sim/SimHome.h"

namespace {

class FileManagerTest : public ::testing::Test {
 protected:
  static pf::FileManager& files() { return pf::FileManager::defaultManager(); }
  const std::string& root() const { return home_.locations().documents; }  // empty, ours alone
  pf::SimHome home_;
  pf::Error error{"", 0};
};

std::string someBytes(size_t n) {
  std::string bytes(n, '\0');
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>((i * 131 + 7) % 256);
  return bytes;
}

}  // namespace

TEST_F(FileManagerTest, AtomicWriteReplacesContentsAndLeavesNoTemporaryFile) {
  std::string path = root() + "/file.bin";
  std::string first = someBytes(3 * 65536 + 17);  // more than one read() worth, NULs inside
  ASSERT_TRUE(files().writeFileAtomically(path, first));
  EXPECT_EQ(files().readFile(path), first);
  ASSERT_TRUE(files().writeFileAtomically(path, "short"));
  EXPECT_EQ(files().readFile(path), "short");
  EXPECT_EQ(files().fileSize(path), 5u);
  ASSERT_TRUE(files().writeFileAtomically(path, ""));
  EXPECT_EQ(files().readFile(path), "");
  EXPECT_EQ(files().contentsOfDirectory(root()), (std::vector<std::string>{"file.bin"}));

  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // an ordinary file, not mkstemp's 0600
}

TEST_F(FileManagerTest, FailedWritesKeepTheOldFileAndCleanUp) {
  std::string path = root() + "/keep.txt";
  ASSERT_TRUE(files().writeFileAtomically(path, "old contents"));

  // The rename cannot happen: a non-empty folder stands at the path.
  std::string blocked = root() + "/blocked";
  ASSERT_TRUE(files().createDirectory(blocked + "/inside", true));
  EXPECT_FALSE(files().writeFileAtomically(blocked, "x", &error));
  EXPECT_EQ(error.domain(), pf::kPOSIXErrorDomain);
  EXPECT_TRUE(files().isDirectory(blocked + "/inside"));

  {  // the disk "fills up" halfway through the new contents
    FileSizeLimit limit(4096);
    EXPECT_FALSE(files().writeFileAtomically(path, someBytes(100000), &error));
    EXPECT_EQ(error.code(), EFBIG);
    EXPECT_EQ(error.userInfo()["NSFilePath"].asString(), path);
  }
  EXPECT_EQ(files().readFile(path), "old contents");

  // A folder that does not exist is not made.
  EXPECT_FALSE(files().writeFileAtomically(root() + "/missing/file", "x", &error));
  EXPECT_EQ(error.code(), ENOENT);
  EXPECT_FALSE(files().fileExists(root() + "/missing"));

  EXPECT_EQ(files().contentsOfDirectory(root()), (std::vector<std::string>{"blocked", "keep.txt"}));
}

TEST_F(FileManagerTest, ReadingWhatIsNotThereOrNotAFile) {
  EXPECT_FALSE(files().readFile(root() + "/nothing", &error));
  EXPECT_EQ(error.code(), ENOENT);
  EXPECT_FALSE(files().readFile(root(), &error));
  EXPECT_EQ(error.code(), EISDIR);
  EXPECT_FALSE(files().fileSize(root() + "/nothing"));
  EXPECT_FALSE(files().modificationDate(root() + "/nothing"));
}

TEST_F(FileManagerTest, CreatingFoldersWithAndWithoutIntermediates) {
  std::string deep = root() + "/a/b/c";
  EXPECT_FALSE(files().createDirectory(deep, false, &error));
  EXPECT_EQ(error.code(), ENOENT);
  EXPECT_FALSE(files().fileExists(root() + "/a"));

  ASSERT_TRUE(files().createDirectory(deep, true));
  bool isDirectory = false;
  EXPECT_TRUE(files().fileExists(deep, &isDirectory));
  EXPECT_TRUE(isDirectory);
  EXPECT_TRUE(files().createDirectory(deep, true));  // already there: fine
  EXPECT_FALSE(files().createDirectory(deep, false, &error));
  EXPECT_EQ(error.code(), EEXIST);

  std::string file = root() + "/plain";
  ASSERT_TRUE(files().writeFileAtomically(file, "x"));
  EXPECT_FALSE(files().createDirectory(file, true, &error));  // a file is in the way
  EXPECT_FALSE(files().createDirectory(file + "/sub", true));
  EXPECT_TRUE(files().fileExists(file, &isDirectory));
  EXPECT_FALSE(isDirectory);
}

TEST_F(FileManagerTest, RemovingFilesFoldersAndLinks) {
  std::string tree = root() + "/tree";
  ASSERT_TRUE(files().createDirectory(tree + "/x/y", true));
  ASSERT_TRUE(files().writeFileAtomically(tree + "/x/y/f", "1"));
  ASSERT_TRUE(files().writeFileAtomically(tree + "/g", "2"));

  // A link to the folder goes; what it points at stays.
  std::string link = root() + "/link";
  ASSERT_EQ(symlink(tree.c_str(), link.c_str()), 0);
  ASSERT_TRUE(files().removeItem(link));
  EXPECT_TRUE(files().fileExists(tree + "/x/y/f"));

  ASSERT_TRUE(files().removeItem(tree));
  EXPECT_FALSE(files().fileExists(tree));

  EXPECT_FALSE(files().removeItem(tree, &error));
  EXPECT_EQ(error.code(), ENOENT);
  EXPECT_TRUE(files().fileExists(root()));
}

TEST_F(FileManagerTest, DatesAreSecondsSince2001AndSetInWholeSeconds) {
  std::string path = root() + "/dated";
  ASSERT_TRUE(files().writeFileAtomically(path, "x"));

  // Read: set the times directly, to the nanosecond, and read them through the manager.
  timespec times[2] = {{1600000000, 250000000}, {1700000000, 500000000}};  // access, modification
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_NEAR(*files().accessDate(path), 1600000000.25 - 978307200.0, 1e-6);
  EXPECT_NEAR(*files().modificationDate(path), 1700000000.5 - 978307200.0, 1e-6);

  // Write: whole seconds, and one time without touching the other.
  ASSERT_TRUE(files().setModificationDate(path, 800000000.75));
  struct stat st{};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtim.tv_sec, 800000000 + 978307200);
  EXPECT_EQ(st.st_mtim.tv_nsec, 0);
  EXPECT_EQ(st.st_atim.tv_sec, 1600000000);
  EXPECT_EQ(st.st_atim.tv_nsec, 250000000);
  EXPECT_EQ(*files().modificationDate(path), 800000000.0);

  ASSERT_TRUE(files().setAccessDate(path, 123.9));
  EXPECT_EQ(*files().accessDate(path), 123.0);
  EXPECT_EQ(*files().modificationDate(path), 800000000.0);

  EXPECT_FALSE(files().setModificationDate(root() + "/nothing", 0, &error));
  EXPECT_EQ(error.code(), ENOENT);
}

TEST(FileLocations, DesktopLocationsFollowXDG) {
  ScopedEnvironment env;
  env.set("HOME", "/home/viewer");
  env.set("XDG_CACHE_HOME", "/var/cache/u");
  env.set("XDG_CONFIG_HOME", "/etc/u");
  env.set("XDG_DATA_HOME", "/srv/u");
  pf::FileLocations l = pf::FileLocations::fromEnvironment();
  EXPECT_EQ(l.caches, "/var/cache/u/ashenmoor");
  EXPECT_EQ(l.preferences, "/etc/u/ashenmoor/Preferences");
  EXPECT_EQ(l.data, "/srv/u/ashenmoor");
  EXPECT_EQ(l.home, "/srv/u/ashenmoor/home");
  EXPECT_EQ(l.documents, "/srv/u/ashenmoor/home/Documents");

  // Unset, empty or relative values fall back to the defaults under $HOME.
  env.set("XDG_CACHE_HOME", nullptr);
  env.set("XDG_CONFIG_HOME", "");
  env.set("XDG_DATA_HOME", "relative/data");
  l = pf::FileLocations::fromEnvironment();
  EXPECT_EQ(l.caches, "/home/viewer/.cache/ashenmoor");
  EXPECT_EQ(l.preferences, "/home/viewer/.config/ashenmoor/Preferences");
  EXPECT_EQ(l.data, "/home/viewer/.local/share/ashenmoor");
  EXPECT_EQ(l.documents, "/home/viewer/.local/share/ashenmoor/home/Documents");
}
