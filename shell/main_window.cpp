#include "shell/main_window.h"

#include <QCloseEvent>

namespace mok::shell {

namespace {
constexpr const char* kQuitQuestion = "All Unsaved data will be lost...\nAre you sure you want to quit?";
}

MainWindow::MainWindow(Application& app) : app_(app), summary_(new QLabel(this)) {
  setMinimumSize(516, 360);
  resize(900, 640);
  summary_->setAlignment(Qt::AlignCenter);
  setCentralWidget(summary_);
  splitFraction_ = ReadSplitterFraction(app_.settings);
}

void MainWindow::refillLists() {
  const MeshDocument& doc = app_.doc();
  QString counts = QString("%1 triangles, %2 vertices, %3 frames")
                       .arg(doc.triangleCount)
                       .arg(doc.vertexCount)
                       .arg(static_cast<int>(doc.frames.size()));
  setWindowTitle(QString("MOK - %1 (%2)").arg(QString::fromStdString(app_.currentFile), counts));
  summary_->setText(counts);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Written before the question, whatever the answer.
  WriteSplitterFraction(app_.settings, splitFraction_);
  for (int i = 0; i < 8; ++i) WriteCustomColor(app_.settings, i, app_.customColors[static_cast<std::size_t>(i)]);
  if (Read(app_.settings, setting::QuickExit) == 1 ||
      app_.prompter.Ask(kQuitQuestion, Buttons::YesNo, MessageIcon::Question) == Answer::Yes) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace mok::shell
