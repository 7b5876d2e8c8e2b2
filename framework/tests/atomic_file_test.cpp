// Replacing files as one step: what is left on disk after a commit, a failure, a stop half-way,
// and through symbolic links, special files and the longest legal names.

#include "framework/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "framework/pending_files.h"

namespace tabulix::framework {
namespace {

namespace fs = std::filesystem;

class AtomicFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tabulix_atomic.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    static void write(AtomicFile& file, const std::string& text) {
        ASSERT_EQ(::write(file.Descriptor(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

TEST_F(AtomicFileTest, CommitReplacesTheFileAndLeavesNothingElse) {
    std::ofstream(folder / "libro.xlsx") << "old";
    {
        AtomicFile file(folder / "libro.xlsx");
        write(file, "new");
        EXPECT_EQ(read(folder / "libro.xlsx"), "old");  // nothing changes before the commit
        EXPECT_EQ(entries().size(), 2u);
        file.Commit();
    }
    EXPECT_EQ(read(folder / "libro.xlsx"), "new");
    EXPECT_EQ(entries(), std::vector<std::string>{"libro.xlsx"});
}

TEST_F(AtomicFileTest, WithoutACommitOrAfterTheSignalCleanUpTheOldFileStaysAlone) {
    std::ofstream(folder / "libro.xlsx") << "old";
    {
        AtomicFile file(folder / "libro.xlsx");
        write(file, "half");
    }
    EXPECT_EQ(entries(), std::vector<std::string>{"libro.xlsx"});

    AtomicFile stopped(folder / "libro.xlsx");
    write(stopped, "half");
    RemovePendingFiles();  // what a program's SIGINT handler does
    EXPECT_EQ(entries(), std::vector<std::string>{"libro.xlsx"});
    EXPECT_EQ(read(folder / "libro.xlsx"), "old");
}

// A plug-in's own copy of the list, reached through the remover it hands over.
int pluginRemovals = 0;
void removePluginFiles() noexcept { ++pluginRemovals; }

TEST_F(AtomicFileTest, TheSignalCleanUpReachesTheListsOfPluginsOnce) {
    AlsoRemovePendingFilesWith(removePluginFiles);
    AlsoRemovePendingFilesWith(removePluginFiles);
    AlsoRemovePendingFilesWith(RemovePendingFiles);  // would call itself without end
    AlsoRemovePendingFilesWith(nullptr);
    pluginRemovals = 0;
    RemovePendingFiles();
    EXPECT_EQ(pluginRemovals, 1);
}

TEST_F(AtomicFileTest, ASymbolicLinkStaysALinkToTheReplacedFile) {
    fs::create_directories(folder / "real");
    std::ofstream(folder / "real" / "datos.xlsx") << "old";
    fs::create_symlink("real/datos.xlsx", folder / "enlace.xlsx");
    fs::create_symlink("enlace.xlsx", folder / "enlace2.xlsx");
    {
        AtomicFile file(folder / "enlace2.xlsx");
        EXPECT_EQ(file.Target(), folder / "real" / "datos.xlsx");
        write(file, "new");
        file.Commit();
    }
    EXPECT_TRUE(fs::is_symlink(folder / "enlace.xlsx"));
    EXPECT_TRUE(fs::is_symlink(folder / "enlace2.xlsx"));
    EXPECT_EQ(read(folder / "real" / "datos.xlsx"), "new");
    EXPECT_EQ(fs::directory_iterator(folder / "real")->path().filename(), "datos.xlsx");

    // A link to a file not there yet makes the file.
    fs::create_symlink("real/nuevo.xlsx", folder / "colgante.xlsx");
    AtomicFile dangling(folder / "colgante.xlsx");
    write(dangling, "made");
    dangling.Commit();
    EXPECT_EQ(read(folder / "real" / "nuevo.xlsx"), "made");

    fs::create_symlink("bucle.xlsx", folder / "bucle.xlsx");
    EXPECT_THROW(AtomicFile(folder / "bucle.xlsx"), AtomicFileError);
}

TEST_F(AtomicFileTest, OnlyRegularFilesAreReplaced) {
    fs::create_directories(folder / "carpeta");
    ::mkfifo((folder / "tubo").c_str(), 0600);
    for (const fs::path& special : {fs::path("/dev/null"), folder / "carpeta", folder / "tubo"}) {
        try {
            AtomicFile file(special);
            ADD_FAILURE() << special << " was accepted";
        } catch (const AtomicFileError& e) {
            EXPECT_TRUE(std::string(e.what()).find("not a regular file") != std::string::npos ||
                        std::string(e.what()).find("it is a folder") != std::string::npos)
                << e.what();
        }
    }
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_THROW(AtomicFile(folder / "falta" / "x.xlsx"), AtomicFileError);
}

TEST_F(AtomicFileTest, TheLongestLegalNameCanBeSavedAndItsStaleTemporaryRemoved) {
    const std::string name = std::string(250, 'n') + ".xlsx";  // 255 bytes
    // A process id that is free: a child that has exited and been waited for.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string pid = std::to_string(child);
    // What a save killed outright leaves: the name cut so that the temporary name fits.
    const std::string stale = ".~" + name.substr(0, 255 - 10 - pid.size()) + "." + pid + ".Ab12Cd";
    std::ofstream(folder / stale) << "partial";
    AtomicFile file(folder / name);
    write(file, "x");
    file.Commit();
    EXPECT_EQ(entries(), std::vector<std::string>{name});

    // Names of many-byte characters are cut on a character for the temporary name.
    std::string accents;
    while (accents.size() + 2 <= 250) accents += "\xC3\xB1";
    AtomicFile spanish(folder / (accents + ".xls"));
    write(spanish, "y");
    spanish.Commit();
    EXPECT_TRUE(fs::exists(folder / (accents + ".xls")));
}

TEST_F(AtomicFileTest, APrivateFileStaysPrivateAndANewOneFollowsTheUmask) {
    std::ofstream(folder / "privado.xlsx") << "old";
    ::chmod((folder / "privado.xlsx").c_str(), 0600);
    AtomicFile file(folder / "privado.xlsx");
    struct stat status {};
    ASSERT_EQ(::fstat(file.Descriptor(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);  // already while it is written
    file.Commit();

    const mode_t previous = ::umask(027);
    AtomicFile fresh(folder / "nuevo.xlsx");
    ::umask(previous);
    fresh.Commit();
    ASSERT_EQ(::stat((folder / "nuevo.xlsx").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace tabulix::framework
