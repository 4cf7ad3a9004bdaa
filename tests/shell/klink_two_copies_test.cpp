// Two running copies of mok (offscreen, driven through the MOK_TEST_SCRIPT
// hook) linked by K-Link: a watcher takes a mapping and a camera from a
// sender; killing the watcher is noticed by the sender and leaves nothing
// that stops a new watcher.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <signal.h>

#include <memory>

#include "app/klink.h"
#include "core/mesh_document.h"
#include "core/mesh_files.h"

namespace mok::shell {
namespace {

class SilentPrompter final : public Prompter {
 public:
  void Message(const std::string&, MessageIcon) override {}
  Answer Ask(const std::string&, Buttons, MessageIcon) override { return Answer::No; }
  std::optional<std::string> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> ChooseFolder(const std::string&) override { return std::nullopt; }
  bool ChooseColor(std::uint32_t&, std::array<std::uint32_t, 16>&) override { return false; }
};

// One copy of the program on the sample mesh, in a private temporary
// folder (socket, segment key file and settings) shared by the copies of a test.
class Copy {
 public:
  explicit Copy(const QString& home) {
    // The sample outside its package, so both copies and the reloaded one
    // below draw on placeholder skins of one size.
    for (const char* name : {"Sampler_d.3d", "Sampler_a.3d", "Sampler_k.3d"})
      QFile::copy(QString(MOK_SOURCE_DIR "/resources/samples/Sampler/Models/") + name, home + "/" + name);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("MOK_TEST_SCRIPT", "stdin");
    env.insert("TMPDIR", home);
    env.insert("XDG_CONFIG_HOME", home);
    env.insert("XDG_RUNTIME_DIR", home);
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(MOK_PROGRAM_PATH, {"-3d", home + "/Sampler_d.3d"});
    EXPECT_EQ(ReadUntil("ready"), QStringList{});
  }
  ~Copy() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.closeWriteChannel();
    if (!process_.waitForFinished(3000)) process_.kill();
    process_.waitForFinished(3000);
  }

  // Runs one command; the lines it printed before its "done".
  QStringList Run(const QString& command) {
    process_.write((command + "\n").toUtf8());
    return ReadUntil("done " + command.section(' ', 0, 0));
  }
  QString Value(const QString& command) {
    const QStringList lines = Run(command);
    return lines.size() == 1 ? lines[0].section(' ', 1) : QString("(got %1)").arg(lines.join(" | "));
  }
  void Signal(int signal) { ::kill(static_cast<pid_t>(process_.processId()), signal); }
  void Kill() {
    process_.kill();
    process_.waitForFinished(3000);
  }

 private:
  QStringList ReadUntil(const QString& last) {
    QStringList lines;
    while (true) {
      while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(5000)) {
          ADD_FAILURE() << "no '" << last.toStdString() << "' from mok; got: " << lines.join(" | ").toStdString();
          return lines;
        }
      }
      const QString line = QString::fromUtf8(process_.readLine()).trimmed();
      if (line == last) return lines;
      lines << line;
    }
  }

  QProcess process_;
};

QStringList Message(const char* text) { return {QString("message: ") + text}; }

TEST(KLinkTwoCopies, MappingAndCameraReachTheWatcherAndAKilledWatcherIsNoticed) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  auto watcher = std::make_unique<Copy>(home.path());
  Copy sender(home.path());

  EXPECT_EQ(watcher->Run("watch"), QStringList{});
  EXPECT_EQ(watcher->Value("title?"), "KLink - Watcher");
  EXPECT_EQ(sender.Run("watch"), Message(klink::kAnotherWatcher));
  EXPECT_EQ(sender.Value("flags?"), "0 0");

  // Transfer Mapping: face 5 of the sender onto face 7 of the watcher.
  sender.Run("select 5");
  watcher->Run("select 7");
  const QString sent = sender.Value("uv? 5");
  ASSERT_NE(watcher->Value("uv? 7"), sent);
  EXPECT_EQ(sender.Run("transfer"), QStringList{});
  EXPECT_EQ(watcher->Value("uv? 7"), sent);
  const QString saved = home.filePath("watched.3d");
  EXPECT_EQ(watcher->Run("save " + saved), QStringList{});
  SilentPrompter prompter;
  auto doc = std::make_unique<MeshDocument>();
  ASSERT_TRUE(LoadMesh(*doc, saved.toStdString(), prompter).ok());
  const QStringList expected = sent.split(' ');
  for (int k = 0; k < 3; ++k) {
    EXPECT_FLOAT_EQ(doc->triangles[7].uv[k].u, expected[2 * k].toFloat());
    EXPECT_FLOAT_EQ(doc->triangles[7].uv[k].v, expected[2 * k + 1].toFloat());
  }

  watcher->Run("select 7 8");
  EXPECT_EQ(sender.Run("transfer"), QStringList{});
  EXPECT_EQ(watcher->Run("flags?"), (QStringList{"message: Watcher: Please only select 1 triange for this operation!", "flags 1 0"}));

  // Sync Cameras at once, then with every drag step of the sender's 3D view.
  const QString cameraBefore = watcher->Value("camera?");
  sender.Run("drag 7 3");
  EXPECT_EQ(watcher->Value("camera?"), cameraBefore);
  EXPECT_EQ(sender.Run("sync"), QStringList{});
  EXPECT_EQ(watcher->Value("camera?"), sender.Value("camera?"));
  EXPECT_NE(watcher->Value("camera?"), cameraBefore);
  sender.Run("drag -20 11");
  EXPECT_EQ(watcher->Value("camera?"), sender.Value("camera?"));

  // A watcher that hangs: the sender gives up within about a second.
  watcher->Signal(SIGSTOP);
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(sender.Run("transfer"), Message(klink::kNoAnswer));
  EXPECT_LT(clock.elapsed(), 2500);
  watcher->Signal(SIGCONT);

  // A watcher that dies: the sender says so, camera steps stay silent, and
  // the next watcher starts over the dead one's socket.
  watcher->Kill();
  watcher.reset();
  EXPECT_EQ(sender.Run("transfer"), Message(klink::kNoWatcher));
  EXPECT_EQ(sender.Run("drag 4 4"), QStringList{});
  Copy next(home.path());
  EXPECT_EQ(next.Run("watch"), QStringList{});
  EXPECT_EQ(next.Value("title?"), "KLink - Watcher");
  next.Run("select 7");
  EXPECT_EQ(sender.Run("transfer"), QStringList{});
  EXPECT_EQ(next.Value("uv? 7"), sent);
  EXPECT_EQ(next.Run("watch"), QStringList{});
  EXPECT_EQ(next.Value("title?"), "MOK v0.9b3");
  EXPECT_EQ(sender.Run("transfer"), Message(klink::kNoWatcher));
}

}  // namespace
}  // namespace mok::shell
