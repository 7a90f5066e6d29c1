// No failure during a save may damage vantorra.ini or leave debris beside it.
#include "settings/ConfigFile.h"
#include "platform/SystemHooks.h"
#include "settings/ConfigFormat.h"
#include "settings/FileAccess.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

using namespace testing_support;

namespace {

const std::string kOriginal = "// mine\r\nWindow 0\r\nGamma 1.2\r\n";

class FileSafety : public ::testing::Test {
protected:
    TempDir dir;
    std::wstring ini = dir / L"vantorra.ini";

    void SetUp() override { ASSERT_TRUE(writeFile(ini, kOriginal)); }
    void TearDown() override { systemHooks = SystemHooks{}; }

    // Loads the original and saves it with a changed Window value; what save said.
    bool saveChanged() {
        ConfigFile config(narrow(ini));
        config.load();
        config.set("Window", "1");
        bool saved = config.save();
        saveError = config.saveError();
        return saved;
    }
    DWORD saveError = 0;

    void expectUntouched() {
        EXPECT_EQ(readFile(ini), kOriginal);
        EXPECT_EQ(namesIn(dir.path()), std::set<std::wstring>{L"vantorra.ini"});
    }
};

int writeCalls = 0;

// The write puts half its bytes on disk, then the disk is full.
BOOL WINAPI writeFailingHalfway(HANDLE file, LPCVOID data, DWORD count, LPDWORD written,
                                LPOVERLAPPED overlapped) {
    ++writeCalls;
    WriteFile(file, data, count / 2, written, overlapped);
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

bool readFails = true;

// Delivers the first half of what was asked for, then fails or just stops.
BOOL WINAPI readStoppingHalfway(HANDLE file, LPVOID buffer, DWORD count, LPDWORD got,
                                LPOVERLAPPED overlapped) {
    ReadFile(file, buffer, count / 2, got, overlapped);
    if (!readFails)
        return TRUE;
    SetLastError(ERROR_LOCK_VIOLATION);
    return FALSE;
}

} // namespace

TEST_F(FileSafety, ASaveThatChangesNothingWritesNothing) {
    HANDLE file = CreateFileW(ini.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME old = {0x12345678, 0x01C00000};
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &old));
    CloseHandle(file);

    ConfigFile config(narrow(ini));
    config.load();
    config.set("Window", "0");
    config.save();
    FILETIME after = lastWriteTime(ini);
    EXPECT_EQ(after.dwLowDateTime, old.dwLowDateTime);
    EXPECT_EQ(after.dwHighDateTime, old.dwHighDateTime);
    expectUntouched();
}

TEST_F(FileSafety, ASuccessfulSaveLeavesOnlyTheFile) {
    EXPECT_TRUE(saveChanged());
    EXPECT_EQ(readFile(ini), "// mine\r\nWindow 1\r\nGamma 1.2\r\n");
    EXPECT_EQ(namesIn(dir.path()), std::set<std::wstring>{L"vantorra.ini"});
}

// Under Wine as root a read-only file can still be opened for writing, where Windows
// refuses; replacing it is refused by both.
TEST_F(FileSafety, AReadOnlyFileIsLeftAsItWas) {
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(saveChanged());
    EXPECT_NE(saveError, 0u);
    expectUntouched();
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FileSafety, AFileHeldOpenByAnotherProgramIsLeftAsItWas) {
    for (bool readersWelcome : {false, true}) {
        SCOPED_TRACE(readersWelcome ? "others may read" : "no sharing");
        {
            HeldFile held(ini, readersWelcome);
            ASSERT_TRUE(held.held());
            EXPECT_FALSE(saveChanged());
            EXPECT_NE(saveError, 0u);
        }
        EXPECT_EQ(readFile(ini), kOriginal);
        EXPECT_EQ(namesIn(dir.path()), std::set<std::wstring>{L"vantorra.ini"});
    }
}

// A temporary file left by a save that crashed, made read-only or held open by another
// program, never stands in the way of the next save.
TEST_F(FileSafety, AStaleTemporaryFileDoesNotBlockTheSave) {
    std::wstring stale = ini + L".tmp";
    for (bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only leftover" : "leftover held open");
        ASSERT_TRUE(writeFile(ini, kOriginal));
        ASSERT_TRUE(writeFile(stale, "half a save"));
        std::optional<HeldFile> held;
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_READONLY));
        } else {
            held.emplace(stale, false);
            ASSERT_TRUE(held->held());
        }
        EXPECT_TRUE(saveChanged());
        EXPECT_EQ(readFile(ini), "// mine\r\nWindow 1\r\nGamma 1.2\r\n");
        held.reset();
        SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(namesIn(dir.path()),
                  (std::set<std::wstring>{L"vantorra.ini", L"vantorra.ini.tmp"}));
        DeleteFileW(stale.c_str());
    }
}

// Saves cut short (a crash, a power cut) leave their temporaries behind. The next save
// removes them, whether it writes or not, but never one that is open (another launcher
// may be writing it right now), nor one written in the last minutes (another launcher may
// be about to put it in place), nor a file that merely looks alike.
TEST_F(FileSafety, ASaveRemovesTheTemporariesThatEarlierSavesLeft) {
    const std::set<std::wstring> alike = {L"vtrnotes.tmp", L"vtr12345.tmp", L"vtr.tmp",
                                          L"avtr1.tmp", L"vtr1.tmp.bak"};
    for (bool writes : {true, false}) {
        SCOPED_TRACE(writes ? "a save that writes" : "a save that changes nothing");
        for (const wchar_t* left : {L"vtr1A2.tmp", L"VTRBEEF.TMP", L"vtrc.tmp", L"vtrC0DE.tmp"})
            ASSERT_TRUE(writeFile(dir / left, "half a save"));
        for (const std::wstring& name : alike)
            ASSERT_TRUE(writeFile(dir / name, "not ours"));
        for (const std::wstring& name : namesIn(dir.path()))
            ASSERT_TRUE(writtenMinutesAgo(dir / name, 10));
        ASSERT_TRUE(writeFile(dir / L"vtrF00D.tmp", "just written"));
        {
            HeldFile held(dir / L"vtrC0DE.tmp", false);
            ASSERT_TRUE(held.held());
            EXPECT_TRUE(saveChanged());
        }
        EXPECT_EQ(readFile(ini), "// mine\r\nWindow 1\r\nGamma 1.2\r\n");
        std::set<std::wstring> expected = alike;
        expected.insert({L"vantorra.ini", L"vtrC0DE.tmp", L"vtrF00D.tmp"});
        EXPECT_EQ(namesIn(dir.path()), expected);
        EXPECT_EQ(readFile(dir / L"vtrF00D.tmp"), "just written");
        DeleteFileW((dir / L"vtrC0DE.tmp").c_str());
        DeleteFileW((dir / L"vtrF00D.tmp").c_str());
    }
}

TEST_F(FileSafety, AParentFolderThatIsAPlainFileStopsTheSaveQuietly) {
    std::wstring plain = dir / L"Quenmark";
    ASSERT_TRUE(writeFile(plain, "not a folder"));
    MessageBoxCatcher boxes;
    ConfigFile config(narrow(plain + L"\\Vantorra\\vantorra.ini"));
    config.set("Window", "1");
    EXPECT_FALSE(config.save());
    EXPECT_EQ(readFile(plain), "not a folder");
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::wstring>{L"Quenmark", L"vantorra.ini"}));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(FileSafety, AWriteFailingHalfwayLeavesTheOriginal) {
    writeCalls = 0;
    systemHooks.writeFile = writeFailingHalfway;
    EXPECT_FALSE(saveChanged());
    EXPECT_EQ(saveError, static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(writeCalls, 1);
    expectUntouched();
}

// Windows keeps the hidden and system marks on the file that the rename puts in place.
TEST_F(FileSafety, ASavedFileKeepsThePlayersMarks) {
    const DWORD marks = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    ASSERT_TRUE(SetFileAttributesW(ini.c_str(), marks));
    EXPECT_TRUE(saveChanged());
    EXPECT_EQ(readFile(ini), "// mine\r\nWindow 1\r\nGamma 1.2\r\n");
    EXPECT_EQ(GetFileAttributesW(ini.c_str()) & marks, marks);
    SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::wstring>{L"vantorra.ini"});
}

// Wine does not hold reads to other programs' byte-range locks as Windows does, so the
// failing read is simulated: what a lock on the tail or a failing disk gives.
TEST_F(FileSafety, AnIncompleteReadWritesNothing) {
    for (bool reportsFailure : {true, false}) {
        SCOPED_TRACE(reportsFailure ? "read fails" : "read comes back short");
        ConfigFile config(narrow(ini));
        config.load();
        config.set("Window", "1");
        readFails = reportsFailure;
        systemHooks.readFile = readStoppingHalfway;
        MessageBoxCatcher boxes;
        EXPECT_FALSE(config.save());
        systemHooks.readFile = ::ReadFile;
        auto shown = boxes.boxes();
        ASSERT_EQ(shown.size(), reportsFailure ? 1u : 0u);
        for (const auto& box : shown)
            EXPECT_EQ(box.caption, "Error");
        expectUntouched();
    }
}

TEST_F(FileSafety, LoadKeepsWhatArrivedBeforeAFailedRead) {
    ASSERT_TRUE(writeFile(ini, "Window 1\r\nAdapter 22\r\n"));
    readFails = true;
    systemHooks.readFile = readStoppingHalfway;
    MessageBoxCatcher boxes;
    ConfigFile config(narrow(ini));
    EXPECT_TRUE(config.load());
    EXPECT_EQ(config.values(), (ConfigValues{{"Window", "1"}, {"A", ""}}));
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].caption, "Error");
}
