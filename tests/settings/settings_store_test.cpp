#include "settings/settings_store.h"
#include "settings/file_access.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>
#include <utility>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

class SettingsStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = (dir / "config.txt").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void writeFile(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::string readFile() const {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static Entries entriesOf(const SettingsStore& store) {
        Entries entries;
        for (size_t i = 0; i < store.keys().size(); ++i) {
            entries.emplace_back(store.keys()[i], store.values()[i]);
        }
        return entries;
    }

    fs::path dir;
    std::string path;
};

TEST_F(SettingsStoreTest, ReadsAndWritesTheFileFormat) {
    struct Case {
        const char* what;
        std::string file;
        Entries entries;
        std::string saved;
    };
    const Case cases[] = {
        {"empty file", "", {{"", ""}}, ""},
        {"final CR LF", "bg=null\r\n", {{"bg", "null"}, {"", ""}}, "bg=null\r\n"},
        {"no final line end", "bg=null", {{"bg", "null"}}, "bg=null"},
        {"defaults",
         "bg=null\r\nsound=null\r\nfitscreen=yes\r\n",
         {{"bg", "null"}, {"sound", "null"}, {"fitscreen", "yes"}, {"", ""}},
         "bg=null\r\nsound=null\r\nfitscreen=yes\r\n"},
        {"value holding the separator", "a=b=c", {{"a", "b=c"}}, "a=b=c"},
        {"no separator", "letters", {{"letters", "letters"}}, "letters"},
        {"a note kept as written",
         "# my picture\r\nbg=null\r\n[x] y\r\n",
         {{"# my picture", "# my picture"}, {"bg", "null"}, {"[x] y", "[x] y"}, {"", ""}},
         "# my picture\r\nbg=null\r\n[x] y\r\n"},
        {"empty key kept", "=x\r\n", {{"", "x"}, {"", ""}}, "=x\r\n"},
        {"empty value", "k=\r\n", {{"k", ""}, {"", ""}}, "k=\r\n"},
        {"path value", "BG=C:\\pics\\x.png", {{"BG", "C:\\pics\\x.png"}}, "BG=C:\\pics\\x.png"},
        {"blanks are ordinary", "bg = x", {{"bg ", " x"}}, "bg = x"},
        {"bare LF", "a=1\nb=2\n", {{"a", "1"}, {"b", "2"}, {"", ""}}, "a=1\r\nb=2\r\n"},
        {"Ctrl-Z ends what is read, and what follows is kept",
         std::string("a=1\r\n\x1A"
                     "b=2\r\n"),
         {{"a", "1"}, {"", ""}},
         "a=1\r\n\x1A"
         "b=2\r\n"},
        {"a line of 100 000 letters",
         std::string(100000, 'x'),
         {{std::string(100000, 'x'), std::string(100000, 'x')}},
         std::string(100000, 'x')},
        {"lone CR ends a line", "a=1\rb=2\r", {{"a", "1"}, {"b", "2"}, {"", ""}}, "a=1\r\nb=2\r\n"},
        {"blank lines kept", "\r\n\r\n", {{"", ""}, {"", ""}, {"", ""}}, "\r\n\r\n"},
        {"duplicates", "bg=one\r\nBG=two", {{"bg", "one"}, {"BG", "two"}}, "bg=one\r\nBG=two"},
        {"a mark after a blank line stays there",
         "\r\n\xEF\xBB\xBF"
         "bg=x\r\n",
         {{"", ""},
          {"\xEF\xBB\xBF"
           "bg",
           "x"},
          {"", ""}},
         "\r\n\xEF\xBB\xBF"
         "bg=x\r\n"},
    };
    for (const Case& c : cases) {
        writeFile(c.file);
        SettingsStore store(path, '=');
        ASSERT_TRUE(store.load()) << c.what;
        EXPECT_EQ(entriesOf(store), c.entries) << c.what;
        ASSERT_TRUE(store.save()) << c.what;
        EXPECT_EQ(readFile(), c.saved) << c.what;
    }
}

TEST_F(SettingsStoreTest, KeysMatchIgnoringAsciiCaseOnly) {
    writeFile("BG=C:\\pics\\x.png\r\nbg =y\r\nsound=one\r\nSOUND=two\r\n\xC4=umlaut\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    EXPECT_EQ(store.get("bg"), "C:\\pics\\x.png");
    EXPECT_EQ(store.indexOf("Bg"), 0);
    EXPECT_EQ(store.indexOf(" bG\t"),
              -1); // the blanks around a key are the file's, not the caller's
    EXPECT_EQ(store.get("sound"), "one");
    EXPECT_EQ(store.indexOf("\xE4"), -1); // no folding outside A-Z
    EXPECT_EQ(store.get("missing"), "");
    EXPECT_EQ(store.indexOf("missing"), -1);

    store.set("bg", "null");
    store.set("Sound", "three");
    store.set("missing", "x");
    store.addIfAbsent("SOUND", "four");
    store.addIfAbsent("fitscreen", "yes");
    EXPECT_EQ(entriesOf(store), (Entries{{"BG", "null"},
                                         {"bg ", "y"},
                                         {"sound", "three"},
                                         {"SOUND", "two"},
                                         {"\xC4", "umlaut"},
                                         {"fitscreen", "yes"},
                                         {"", ""}}));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(),
              "BG=null\r\nbg =y\r\nsound=three\r\nSOUND=two\r\n\xC4=umlaut\r\nfitscreen=yes\r\n");
}

// A value that would end its line or the file would be read back as other keys.
TEST_F(SettingsStoreTest, ValuesThatWouldBreakTheirLineAreRefused) {
    writeFile("bg=null\r\nsound=null\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    for (const char* value : {"C:\\x\nsound=evil", "a\rb", "a\x1A", "\n"}) {
        EXPECT_FALSE(store.set("bg", value));
        store.addIfAbsent("new", value);
    }
    EXPECT_TRUE(store.set("bg", "C:\\a b\t=c.png"));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(), "bg=C:\\a b\t=c.png\r\nsound=null\r\n");
}

TEST_F(SettingsStoreTest, LoadingAppendsAndClearEmpties) {
    writeFile("a=1\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    ASSERT_TRUE(store.load());
    EXPECT_EQ(entriesOf(store), (Entries{{"a", "1"}, {"", ""}, {"a", "1"}, {"", ""}}));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(), "a=1\r\n\r\na=1\r\n");
    store.clear();
    EXPECT_TRUE(store.keys().empty());
    EXPECT_TRUE(store.values().empty());
    EXPECT_EQ(store.fileName(), path);
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadLeavesTheTableAsItWas) {
    SettingsStore store(path, '=');
    store.addIfAbsent("kept", "1");
    EXPECT_FALSE(store.load()); // missing
    fs::create_directory(path);
    EXPECT_FALSE(store.load()); // a directory
    EXPECT_EQ(entriesOf(store), (Entries{{"kept", "1"}}));
}

// A file another program appends to while it is read is read again until it stands still;
// one that never does is busy, never missing; a folder is no file; a link to nowhere is
// missing yet there, and is not followed to create a file.
TEST_F(SettingsStoreTest, ABusyFileIsReadAgainUntilItStandsStill) {
    {
        std::ofstream file(path, std::ios::binary);
        for (int note = 0; note < 2000; ++note) {
            file << "note " << note << "\r\n";
        }
    }
    const std::string before = readFile();
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        while (!stop) {
            std::ofstream(path, std::ios::binary | std::ios::app) << "more\r\n";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    std::string bytes;
    const ReadOutcome appended = readWholeFileWhenSettled(path, bytes, 1 << 20, 50, 10);
    stop = true;
    writer.join();
    EXPECT_EQ(appended, ReadOutcome::read);
    EXPECT_EQ(bytes.compare(0, before.size(), before), 0);

    SettingsStore store(path, '=');
    std::ofstream(path, std::ios::binary | std::ios::app) << "bg=null\r\n";
    EXPECT_EQ(store.loadWhenSettled(), ReadOutcome::read);
    EXPECT_EQ(store.get("bg"), "null");
    EXPECT_EQ(readWholeFileWhenSettled(path + ".none", bytes, 1 << 20), ReadOutcome::missing);
    fs::create_directory(path + ".folder");
    EXPECT_EQ(readWholeFileWhenSettled(path + ".folder", bytes, 1 << 20), ReadOutcome::notAFile);

    const std::string link = path + ".link";
    const std::string target = path + ".target";
    fs::create_symlink(target, link);
    EXPECT_EQ(readWholeFileWhenSettled(link, bytes, 1 << 20), ReadOutcome::missing);
    EXPECT_TRUE(entryExists(link));
    EXPECT_FALSE(entryExists(path + ".none"));
    EXPECT_FALSE(readableOrCreated(link));
    EXPECT_FALSE(fs::exists(target));
    SettingsStore linked(link, '=');
    linked.addIfAbsent("bg", "null");
    ASSERT_TRUE(linked.save()); // a file in the link's place
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_FALSE(fs::exists(target));
    // A link in a loop is a link to nowhere.
    fs::create_symlink(path + ".loop", path + ".loop");
    EXPECT_EQ(readWholeFileWhenSettled(path + ".loop", bytes, 1 << 20), ReadOutcome::missing);
}

// A file this user may not read is unreadable at once, not busy: trying again would not
// help. (Tried as another user where the test runs as root, which may read anything.)
TEST_F(SettingsStoreTest, AFileNobodyMayReadIsUnreadableNotBusy) {
    writeFile("bg=null\r\n");
    fs::permissions(path, fs::perms::none);
    fs::permissions(dir, fs::perms::all);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) {
            _exit(3);
        }
        std::string bytes;
        const auto before = std::chrono::steady_clock::now();
        const ReadOutcome outcome = readWholeFileWhenSettled(path, bytes, 1 << 20);
        const auto took = std::chrono::steady_clock::now() - before;
        _exit(outcome != ReadOutcome::unreadable      ? 1
              : took > std::chrono::milliseconds(100) ? 2
              : bytes.empty()                         ? 0
                                                      : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: not unreadable, 2: retried, 3: no other user";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(readFile(), "bg=null\r\n");
}

TEST_F(SettingsStoreTest, RoundTripsWhatItWrites) {
    std::mt19937 random(5);
    const std::string alphabet = "abcXYZ019 =:\\/.\t";
    for (int round = 0; round < 50; ++round) {
        SettingsStore store(path, '=');
        Entries expected;
        for (int n = int(random() % 6); n > 0; --n) {
            std::string key(1, 'k');
            std::string value;
            for (int i = int(random() % 8); i > 0; --i) {
                const char c = alphabet[random() % alphabet.size()];
                if (c != '=') {
                    key += c;
                }
                value += alphabet[random() % alphabet.size()];
            }
            key += std::to_string(expected.size());
            store.addIfAbsent(key, value);
            expected.emplace_back(key, value);
        }
        ASSERT_TRUE(store.save());
        SettingsStore reread(path, '=');
        ASSERT_TRUE(reread.load());
        expected.emplace_back("", "");
        EXPECT_EQ(entriesOf(reread), expected);
    }
}

TEST_F(SettingsStoreTest, ASaveChangesOnlyTheLinesSetOrAdded) {
    const std::string notes = "\r\n# note\r\n=orphan\r\n\x1A# after";
    writeFile("bg=null\r\n" + notes);
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    ASSERT_TRUE(store.set("BG", "C:\\a.png"));
    store.addIfAbsent("sound", "null");
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(), "bg=C:\\a.png\r\n\r\n# note\r\n=orphan\r\nsound=null\r\n\x1A# after");

    writeFile("# no line end"); // an added line ends the one before it
    store.clear();
    ASSERT_TRUE(store.load());
    store.addIfAbsent("bg", "null");
    EXPECT_EQ(store.fileBytes(), "# no line end\r\nbg=null\r\n");
}

// Lines another program wrote while the file was open here are kept by the save; what was
// set here wins, what was added here only fills a gap.
TEST_F(SettingsStoreTest, ASaveKeepsWhatOthersWroteMeanwhile) {
    writeFile("bg=null\r\nsound=a.mp3\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    store.set("bg", "sea.png");
    store.addIfAbsent("rain", "light");
    store.addIfAbsent("change", "5");
    std::string others;
    for (int i = 0; i < 50; ++i) {
        others += "; note " + std::to_string(i) + "\r\n";
    }
    std::ofstream(path, std::ios::binary | std::ios::app) << others << "rain=heavy\r\n";
    ASSERT_TRUE(store.saveKeepingOthers());
    EXPECT_EQ(readFile(), "bg=sea.png\r\nsound=a.mp3\r\n" + others + "rain=heavy\r\nchange=5\r\n");
    fs::remove(path);
    ASSERT_TRUE(store.saveKeepingOthers()); // gone meanwhile: the table as it is
    EXPECT_EQ(readFile(), "bg=sea.png\r\nsound=a.mp3\r\nrain=light\r\nchange=5\r\n");
}

TEST_F(SettingsStoreTest, ASetValueTurnsANoteIntoAnEntry) {
    writeFile("sound\r\n");
    SettingsStore store(path, '=');
    ASSERT_TRUE(store.load());
    ASSERT_TRUE(store.set("sound", "null"));
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(), "sound=null\r\n");
}

TEST_F(SettingsStoreTest, AFileLargerThanASettingsFileIsNotRead) {
    writeFile("bg=null\r\n" + std::string(SettingsStore::maxFileBytes, 'x'));
    SettingsStore store(path, '=');
    EXPECT_FALSE(store.load());
    EXPECT_TRUE(store.keys().empty());
    writeFile("bg=null\r\n" + std::string(SettingsStore::maxFileBytes - 9, 'x'));
    EXPECT_TRUE(store.load());
}

// A save leaves no new file behind, removes those of processes that ended during a save,
// and keeps the one a running process is writing.
TEST_F(SettingsStoreTest, SavesLeaveNoNewFilesBehind) {
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0) {
        _exit(0);
    }
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const std::string stale = path + "." + std::to_string(ended) + ".tmp";
    const std::string running = path + "." + std::to_string(getppid()) + ".tmp";
    const std::string other = path + ".notes.tmp";
    for (const std::string& file : {stale, running, other}) {
        std::ofstream(file) << "half";
    }
    SettingsStore store(path, '=');
    store.addIfAbsent("bg", "null");
    ASSERT_TRUE(store.save());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(other));
    EXPECT_FALSE(fs::exists(replacementFileName(path)));
}

TEST_F(SettingsStoreTest, CreateEmptyFileTruncates) {
    writeFile("a=1\r\n");
    createEmptyFile(path);
    EXPECT_EQ(readFile(), "");
    createEmptyFile((dir / "new.txt").string());
    EXPECT_TRUE(fs::exists(dir / "new.txt"));
}

// A failed save is a false result and never costs the old file.
class FailedSaveTest : public SettingsStoreTest {
  protected:
    void SetUp() override {
        SettingsStoreTest::SetUp();
        writeFile(original);
    }
    void expectOriginalKept() const {
        EXPECT_EQ(readFile(), original);
        for (const auto& entry : fs::directory_iterator(dir)) {
            EXPECT_EQ(entry.path().filename(), "config.txt");
        }
    }
    const std::string original = "bg=C:\\pictures\\lake.png\r\nsound=null\r\nfitscreen=yes\r\n";
};

TEST_F(FailedSaveTest, WhereNoFileCanBeCreated) {
    EXPECT_FALSE(SettingsStore("/proc/config.txt", '=').save());
    EXPECT_FALSE(SettingsStore(path + "/config.txt", '=').save()); // inside a file
    EXPECT_FALSE(SettingsStore((dir / "no" / "config.txt").string(), '=').save());
}

TEST_F(FailedSaveTest, WhenTheNewFileCannotBeMadeBesideTheOld) {
    fs::create_directory(replacementFileName(path));
    SettingsStore replacing(path, '=');
    replacing.addIfAbsent("bg", "null");
    EXPECT_FALSE(replacing.save());
    EXPECT_EQ(readFile(), original);
}

TEST_F(FailedSaveTest, WhenTheDiskFillsUpHalfWay) {
    // A child process whose files may not grow past 4 KiB stands in for a full disk.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        SettingsStore full(path, '=');
        full.addIfAbsent("bg", std::string(100000, 'x'));
        _exit(full.save() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "save reported success";
    expectOriginalKept();
}

// Marked read-only, it is kept even by a user whom permissions do not bind (root here, Wine's
// root on Windows' read-only attribute).
TEST_F(FailedSaveTest, WhenTheFileIsWriteProtected) {
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    SettingsStore store(path, '=');
    store.addIfAbsent("bg", "null");
    EXPECT_FALSE(store.save());
    expectOriginalKept();
}

} // namespace
