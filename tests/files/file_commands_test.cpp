// File > Save and File > Open against a recording owner window: round trips,
// failed saves that leave everything as it was, and files that cannot be used.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "editor/distribution_editor.h"
#include "support/window_files.h"
#include "files/file_commands.h"
#include "files/ies_format.h"
#include "files/owner_window.h"
#include "files/safe_save.h"

namespace fs = std::filesystem;

namespace {

class RecordingOwner : public OwnerWindow {
 public:
  std::optional<std::string> savePath;
  std::optional<std::string> openPath;
  std::vector<std::pair<std::string, std::string>> messages;  // text, caption

  std::vector<std::string> questions;
  bool replace = false;  // the answer to a question

  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override {
    return savePath;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return openPath; }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    messages.emplace_back(text, caption);
  }
  bool AskYesNo(std::string_view text, std::string_view caption) override {
    questions.push_back(std::string(caption) + ": " + std::string(text));
    return replace;
  }
};

class FileCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("ies_commands_" + std::to_string(getpid()) + "_" +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::string Path(const std::string& name) const { return (folder / name).string(); }

  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  static void Put(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  std::vector<std::string> FolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path folder;
  RecordingOwner owner;
};

void FillCurve(DistributionEditor& editor) {
  for (size_t i = 0; i < editor.curve.size(); ++i) {
    editor.curve[i] = static_cast<float>(i) * 0.25f;
  }
}

TEST_F(FileCommandsTest, SaveThenOpenGivesTheCurveBack) {
  DistributionEditor saved;
  FillCurve(saved);
  owner.savePath = Path("lamp");
  SaveCurve(saved, owner);
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"lamp.ies"});
  EXPECT_EQ(Contents(Path("lamp.ies")), WriteIesText(saved.curve.data()));

  DistributionEditor opened;
  opened.polarScale = 55.0f;
  owner.openPath = Path("lamp.ies");
  EXPECT_EQ(LoadCurve(opened, owner), Path("lamp.ies"));
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_EQ(opened.curve, saved.curve);
  EXPECT_EQ(opened.polarScale, 55.0f);  // only the curve changes
}

TEST_F(FileCommandsTest, CancelledDialogsDoNothing) {
  DistributionEditor editor;
  FillCurve(editor);
  const auto before = editor.curve;
  EXPECT_FALSE(SaveCurve(editor, owner));
  EXPECT_FALSE(LoadCurve(editor, owner));
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_TRUE(FolderNames().empty());
  EXPECT_EQ(editor.curve, before);
}

TEST_F(FileCommandsTest, SavingOverAFileReplacesAllOfIt) {
  Put(Path("old.ies"), std::string(10000, 'x'));
  fs::permissions(Path("old.ies"), fs::perms::owner_read | fs::perms::owner_write);
  DistributionEditor editor;
  owner.savePath = Path("old.ies");
  SaveCurve(editor, owner);
  EXPECT_EQ(Contents(Path("old.ies")), WriteIesText(editor.curve.data()));
  EXPECT_EQ(fs::status(Path("old.ies")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"old.ies"});
}

// The dialog asks about the name chosen; Save asks about the name its
// extension rule made, and returns the path it wrote.
TEST_F(FileCommandsTest, ANameTheExtensionMadeIsAskedAboutBeforeItIsReplaced) {
  const std::string old = "IESNA:\r\nold\r\n";
  for (bool replace : {false, true}) {
    Put(Path("lamp.ies"), old);
    owner.questions.clear();
    owner.savePath = Path("lamp");
    owner.replace = replace;
    const std::optional<std::string> saved = SaveCurve(DistributionEditor(), owner);
    EXPECT_EQ(owner.questions, std::vector<std::string>{
                                   "Confirm Save As: lamp.ies already exists.\nDo you want to replace it?"});
    EXPECT_EQ(Contents(Path("lamp.ies")) != old, replace);
    EXPECT_EQ(saved, replace ? std::optional(Path("lamp.ies")) : std::nullopt);
  }
  owner.questions.clear();
  owner.savePath = Path("lamp.ies");  // the dialog has asked: no second question
  EXPECT_TRUE(SaveCurve(DistributionEditor(), owner));
  EXPECT_TRUE(owner.questions.empty());
}

TEST_F(FileCommandsTest, ANameLongerThan255CharactersIsSaved) {
  const std::string deep = Path(std::string(200, 'd'));
  fs::create_directories(deep);
  const std::string name = deep + "/" + std::string(100, 'n');
  ASSERT_GT(name.size(), 256u);
  DistributionEditor editor;
  owner.savePath = name;
  SaveCurve(editor, owner);
  EXPECT_TRUE(owner.messages.empty());
  EXPECT_TRUE(fs::exists(name + ".ies"));
}

TEST_F(FileCommandsTest, ASymbolicLinkStillPointsToTheSavedFile) {
  Put(Path("real.ies"), "old");
  fs::create_symlink(Path("real.ies"), Path("link.ies"));
  DistributionEditor editor;
  owner.savePath = Path("link.ies");
  SaveCurve(editor, owner);
  EXPECT_TRUE(fs::is_symlink(Path("link.ies")));
  EXPECT_EQ(Contents(Path("real.ies")), WriteIesText(editor.curve.data()));
}

// Saves that cannot succeed: the message box with the file and the reason,
// and the folder as it was.
TEST_F(FileCommandsTest, FailedSavesReportAndLeaveNothingBehind) {
  Put(Path("plain"), "a file, not a folder");
  fs::create_directories(Path("folder.ies"));
  struct Case {
    const char* what;
    std::string path;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"missing folder", Path("missing/lamp.ies"), "IES Saving\nlamp.ies: No such file or directory."},
      {"a file as the folder", Path("plain/lamp.ies"), "IES Saving\nlamp.ies: Not a directory."},
      {"a folder as the file", Path("folder.ies"), "IES Saving\nfolder.ies: Is a directory."},
      {"a folder no one may create files in", "/proc/lamp", "IES Saving\nlamp.ies: No such file or directory."},
  };
  for (const Case& c : cases) {
    owner.messages.clear();
    owner.savePath = c.path;
    DistributionEditor editor;
    SaveCurve(editor, owner);
    ASSERT_EQ(owner.messages.size(), 1u) << c.what;
    EXPECT_EQ(owner.messages[0].first, c.message) << c.what;
    EXPECT_EQ(owner.messages[0].second, "Can't save file") << c.what;
  }
  EXPECT_EQ(FolderNames(), (std::vector<std::string>{"folder.ies", "plain"}));
  EXPECT_TRUE(fs::is_empty(Path("folder.ies")));
}

// Runs `save` as an ordinary user: root may write anywhere, so as root it
// runs in a child process that has given up root for the user "nobody".
// True when the save reported exactly one failure.
bool SaveFailsForAnOrdinaryUser(const std::function<size_t()>& save) {
  if (geteuid() != 0) return save() == 1;
  const pid_t child = fork();
  if (child == 0) {
    const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
    _exit(dropped && save() == 1 ? 0 : 1);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

TEST_F(FileCommandsTest, AReadOnlyFolderIsReported) {
  fs::create_directories(Path("locked"));
  fs::permissions(Path("locked"), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(folder, fs::perms::all);
  owner.savePath = Path("locked/lamp.ies");
  EXPECT_TRUE(SaveFailsForAnOrdinaryUser([&] {
    SaveCurve(DistributionEditor(), owner);
    const bool said = !owner.messages.empty() &&
                      owner.messages[0].first == "IES Saving\nlamp.ies: Permission denied.";
    return said ? owner.messages.size() : 0;
  }));
  fs::permissions(Path("locked"), fs::perms::owner_all);
  EXPECT_TRUE(fs::is_empty(Path("locked")));
}

TEST_F(FileCommandsTest, AWriteProtectedFileIsNotReplaced) {
  // The folder lets anyone rename files in it; the file itself is read-only.
  const std::string old = "IESNA:\r\nprotected\r\n";
  Put(Path("lamp.ies"), old);
  fs::permissions(Path("lamp.ies"), fs::perms::owner_read | fs::perms::group_read |
                                        fs::perms::others_read);
  fs::permissions(folder, fs::perms::all);
  owner.savePath = Path("lamp.ies");
  EXPECT_TRUE(SaveFailsForAnOrdinaryUser([&] {
    SaveCurve(DistributionEditor(), owner);
    return owner.messages.size();
  }));
  EXPECT_EQ(Contents(Path("lamp.ies")), old);
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"lamp.ies"});
}

// A disk that fills up while the file is written: the file-size limit makes
// the write fail just as a full disk does.
TEST_F(FileCommandsTest, AFullDiskKeepsTheOldFileIntact) {
  const std::string old = "IESNA:\r\nthe file as it was\r\n";
  Put(Path("lamp.ies"), old);
  DistributionEditor editor;
  FillCurve(editor);
  owner.savePath = Path("lamp.ies");

  rlimit previous{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 1000;  // the file needs about 2500 bytes
  const sighandler_t previousHandler = signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  SaveCurve(editor, owner);
  setrlimit(RLIMIT_FSIZE, &previous);
  signal(SIGXFSZ, previousHandler);

  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.messages[0].first, "IES Saving\nlamp.ies: File too large.");
  EXPECT_EQ(owner.messages[0].second, "Can't save file");
  EXPECT_EQ(Contents(Path("lamp.ies")), old);
  EXPECT_EQ(FolderNames(), std::vector<std::string>{"lamp.ies"});
}

TEST(WriteFlushAndClose, ReportsADeviceThatIsFull) {
  std::FILE* full = std::fopen("/dev/full", "wb");
  ASSERT_NE(full, nullptr);
  EXPECT_FALSE(WriteFlushAndClose(full, std::string(100, 'x')));
  EXPECT_EQ(errno, ENOSPC);
}

TEST_F(FileCommandsTest, AnUnusableFileLeavesTheCurveAndSaysWhy) {
  Put(Path("lamp.ies"), "IESNA:\nTILT=NONE\n1 -1 1 3 1 1 1 0 0 0\n1 1 0\n0 45 90\n0\n");
  DistributionEditor editor;
  FillCurve(editor);
  const auto before = editor.curve;
  owner.openPath = Path("lamp.ies");
  LoadCurve(editor, owner);
  ASSERT_EQ(owner.messages.size(), 1u);
  EXPECT_EQ(owner.messages[0].first,
            "lamp.ies is not a usable IES file: it ends before its candela values.");
  EXPECT_EQ(owner.messages[0].second, "Can't open file");
  EXPECT_EQ(editor.curve, before);
}

TEST_F(FileCommandsTest, AFileThatCannotBeOpenedIsNamed) {
  DistributionEditor editor;
  FillCurve(editor);
  const auto before = editor.curve;
  owner.openPath = Path("gone.ies");
  LoadCurve(editor, owner);
  fs::create_directories(Path("a folder.ies"));
  owner.openPath = Path("a folder.ies");
  LoadCurve(editor, owner);
  ASSERT_EQ(owner.messages.size(), 2u);
  EXPECT_EQ(owner.messages[0].first, "Could not open gone.ies: No such file or directory.");
  EXPECT_EQ(owner.messages[0].second, "Can't open file");
  EXPECT_EQ(owner.messages[1].first, "Could not open a folder.ies: it is a folder.");
  EXPECT_EQ(editor.curve, before);
}

TEST_F(FileCommandsTest, DevicesAndPipesAreRefusedWithoutReadingThem) {
  // /dev/zero never ends and a pipe without a writer never answers: either
  // would hang the program if it were read.
  ASSERT_EQ(mkfifo(Path("pipe.ies").c_str(), 0600), 0);
  DistributionEditor editor;
  FillCurve(editor);
  const auto before = editor.curve;
  for (const std::string& path : {std::string("/dev/zero"), Path("pipe.ies")}) {
    owner.openPath = path;
    LoadCurve(editor, owner);
  }
  ASSERT_EQ(owner.messages.size(), 2u);
  EXPECT_EQ(owner.messages[0].first, "Could not open zero: it is not an ordinary file.");
  EXPECT_EQ(owner.messages[1].first, "Could not open pipe.ies: it is not an ordinary file.");
  EXPECT_EQ(editor.curve, before);
}

}  // namespace
